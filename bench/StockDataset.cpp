#include "StockDataset.h"

#include "data/CreateDatabase.h"
#include "data/dmGenerale.h"
#include "db/Firebird.h"

#include <QProcess>
#include <array>
#include <map>
#include <vector>

namespace stockbench {

namespace {

// splitmix64: small, fast and the same on every platform and standard library.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed) {}
    uint64_t next()
    {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    int range(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return range(1, 100) <= percent; }

private:
    uint64_t s_;
};

using Cents = int64_t;

db::Decimal dec(Cents c) { return db::Decimal::fromRaw(c * 100); }

struct Component {
    int ingredient;
    int perLitre; // thousandths of the ingredient's unit per litre of mix
};

struct Recipe {
    int id;
    std::vector<Component> components;
};

constexpr std::array<const char *, 14> kIngredientCategories{"01", "00", "03", "02", "04", "05", "06",
                                                             "07", "08", "09", "10", "11", "14", "21"};
constexpr std::array<const char *, 8> kRecipeCategories{"CRE", "CRU", "CIO", "NOC", "FRL", "SOR", "SAG", "SEM"};
constexpr std::array<const char *, 6> kUses{"DEG", "INT", "OMA", "RES", "ROT", "SCA"};
constexpr int kSuppliers = 10;

// Waste in percent of the gross quantity for the ingredients that have one (fruit to peel, ...).
int wastePercent(int ingredient) { return ingredient % 7 == 0 ? 5 + ingredient % 11 : 0; }

int supplierOf(int ingredient) { return ingredient == kMilk ? 1 : 2 + ingredient % (kSuppliers - 1); }

// gfix on the generated file. Forced writes make every page write synchronous: right for a
// workshop's database, far too slow for writing ten years in one go, so the generator turns them
// off while it writes and back on at the end, so that the benchmark saves as the program does.
// Writing ten years in a few hundred transactions leaves old record versions behind that a
// workshop's database would have shed long ago; a sweep removes them. Without gfix the generation
// just takes longer and the first statements of the benchmark clean up instead.
void gfix(const QString &file, const QStringList &args)
{
    QProcess::execute(QStringLiteral("gfix"), QStringList{QStringLiteral("-user"), QStringLiteral("SYSDBA")} + args + QStringList{file});
}

bool isHoliday(const QDate &d)
{
    static const std::array<std::pair<int, int>, 10> fixed{
        {{1, 1}, {1, 6}, {4, 25}, {5, 1}, {6, 2}, {8, 15}, {11, 1}, {12, 8}, {12, 25}, {12, 26}}};
    for (const auto &[m, day] : fixed)
        if (d.month() == m && d.day() == day)
            return true;
    return false;
}

} // namespace

QList<QDate> workingDays(int count)
{
    QList<QDate> days;
    for (QDate d(2016, 1, 4); days.size() < count; d = d.addDays(1))
        if (d.dayOfWeek() <= 5 && !isHoliday(d))
            days << d;
    return days;
}

DatasetSummary generateStockDataset(const QString &file, const QString &sqlDir, int dayCount)
{
    createBrivolaDatabase(file, sqlDir);
    gfix(file, {QStringLiteral("-write"), QStringLiteral("async")});

    db::Attachment att;
    att.open(file, TdmGenerale::connectParams());
    db::Transaction tr(att);
    tr.start();

    Rng rng(20240611);

    // Suppliers, ingredients, recipes.
    {
        db::Statement s(tr, "INSERT INTO anagrafica (id, ragione) VALUES (?, ?)");
        for (int i = 1; i <= kSuppliers; ++i) {
            s.setParam(0, i);
            s.setParam(1, QStringLiteral("Fornitore %1 s.r.l.").arg(i));
            s.execute();
        }
    }
    {
        db::Statement s(tr, "INSERT INTO articoli (id, nome, um, categoria, prezzo, preferito, qta_pf) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (int i = 1; i <= kIngredients; ++i) {
            s.setParam(0, i);
            s.setParam(1, i == kMilk ? QStringLiteral("Latte intero fresco") : QStringLiteral("Ingrediente %1").arg(i, 2, 10, QLatin1Char('0')));
            s.setParam(2, i <= 2 ? "LT" : "KG");
            s.setParam(3, kIngredientCategories[i == kMilk ? 0 : 1 + (i % (kIngredientCategories.size() - 1))]);
            s.setParam(4, QVariant::fromValue(dec(100 + rng.range(0, 2000))));
            s.setParam(5, 1);
            s.setParam(6, QVariant());
            s.execute();
        }
        for (int r = 0; r < kRecipes; ++r) {
            s.setParam(0, kFirstRecipe + r);
            s.setParam(1, QStringLiteral("Gusto %1").arg(r + 1, 2, 10, QLatin1Char('0')));
            s.setParam(2, "KG");
            s.setParam(3, kRecipeCategories[r % kRecipeCategories.size()]);
            s.setParam(4, QVariant());
            s.setParam(5, 0);
            s.setParam(6, 1250);
            s.execute();
        }
    }

    // Recipes: milk in 57 of 60, plus five to eight other ingredients; the low ingredient numbers
    // (sugars, cream, dextrose, ...) are in many recipes, the high ones in few.
    std::vector<Recipe> recipes;
    {
        db::Statement s(tr, "INSERT INTO sottoarticoli (art_id_base, art_id_ingr, progr, quantita, molt, qta_scarico, no_peso) "
                            "VALUES (?, ?, ?, ?, 0.001, ?, 0)");
        for (int r = 0; r < kRecipes; ++r) {
            Recipe rec{kFirstRecipe + r, {}};
            if (r % 20 != 7)
                rec.components.push_back({kMilk, 500 + rng.range(0, 200)});
            const int others = rng.range(5, 8);
            while (int(rec.components.size()) < others + (r % 20 != 7 ? 1 : 0)) {
                const int a = rng.range(1, 100);
                const int ingr = a <= 60 ? rng.range(2, 15) : rng.range(16, kIngredients);
                bool dup = false;
                for (const auto &c : rec.components)
                    dup = dup || c.ingredient == ingr;
                if (!dup)
                    rec.components.push_back({ingr, ingr < 16 ? rng.range(20, 150) : rng.range(5, 60)});
            }
            int progr = 1;
            for (const auto &c : rec.components) {
                s.setParam(0, rec.id);
                s.setParam(1, c.ingredient);
                s.setParam(2, progr++);
                s.setParam(3, QVariant::fromValue(db::Decimal::fromRaw(int64_t(c.perLitre) * 10)));
                s.setParam(4, QVariant::fromValue(db::Decimal::fromRaw(int64_t(c.perLitre) * 10)));
                s.execute();
            }
            recipes.push_back(std::move(rec));
        }
    }
    tr.commitRetaining();

    // Expected use a day of each ingredient (cents), to size the loads: seven runs of 25 litres on
    // average, recipes chosen evenly.
    std::vector<Cents> dailyUse(kIngredients + 1, 0);
    for (const auto &rec : recipes)
        for (const auto &c : rec.components)
            dailyUse[c.ingredient] += Cents(7) * 25 * c.perLitre / 10 * 100 / (100 - wastePercent(c.ingredient)) / kRecipes;
    std::vector<Cents> stock(kIngredients + 1, 0);

    db::Statement insDoc(tr, "INSERT INTO documenti (id, genere, data, anno, numero, tipo, anagr_id, art_id_base, quantita, qta_pf) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    db::Statement insRow(tr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto, stato, tipo_uso) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    int docId = 0, rowId = 0;
    DatasetSummary sum;
    auto document = [&](const char *genere, const QDate &day, int supplier, int recipe, Cents litres) {
        ++docId;
        insDoc.setParam(0, docId);
        insDoc.setParam(1, genere);
        insDoc.setParam(2, day);
        insDoc.setParam(3, day.year());
        insDoc.setParam(4, supplier ? QVariant(QString::number(docId)) : QVariant());
        insDoc.setParam(5, supplier ? QVariant("DDT") : QVariant());
        insDoc.setParam(6, supplier ? QVariant(supplier) : QVariant());
        insDoc.setParam(7, recipe ? QVariant(recipe) : QVariant());
        insDoc.setParam(8, recipe ? QVariant::fromValue(dec(litres)) : QVariant());
        insDoc.setParam(9, recipe ? QVariant::fromValue(dec(litres * 5 / 4)) : QVariant());
        insDoc.execute();
        ++sum.documents;
        return docId;
    };
    auto row = [&](int doc, int art, Cents use, Cents waste, const QVariant &stato, const QVariant &tipoUso) {
        ++rowId;
        insRow.setParam(0, rowId);
        insRow.setParam(1, doc);
        insRow.setParam(2, art);
        insRow.setParam(3, QVariant::fromValue(dec(use + waste)));
        insRow.setParam(4, QVariant::fromValue(dec(use)));
        insRow.setParam(5, QVariant::fromValue(dec(waste)));
        insRow.setParam(6, stato);
        insRow.setParam(7, tipoUso);
        insRow.execute();
        ++sum.rows;
        if (art == kMilk)
            ++sum.milkRows;
    };

    const QList<QDate> days = workingDays(dayCount);
    sum.firstDay = days.first();
    sum.lastDay = days.last();
    for (int di = 0; di < days.size(); ++di) {
        const QDate &day = days[di];

        // Morning deliveries: milk three or four times, the rest when it runs low.
        std::map<int, std::vector<std::pair<int, Cents>>> bySupplier;
        const int milkLoads = di % 3 == 0 ? 4 : 3;
        const Cents milkTarget = 2 * dailyUse[kMilk];
        const Cents milkNeed = std::max<Cents>(milkTarget - stock[kMilk] + dailyUse[kMilk], dailyUse[kMilk] / 2);
        for (int k = 0; k < milkLoads; ++k) {
            const Cents q = (milkNeed / milkLoads) * rng.range(80, 120) / 100 / 100 * 100;
            bySupplier[k == 0 ? 2 : 1].push_back({kMilk, q});
        }
        for (int i = 2; i <= kIngredients; ++i)
            if (stock[i] < 4 * dailyUse[i] && dailyUse[i] > 0)
                bySupplier[supplierOf(i)].push_back({i, dailyUse[i] * rng.range(15, 25) / 100 * 100});
        for (const auto &[supplier, items] : bySupplier) {
            const int doc = document("C", day, supplier, 0, 0);
            for (const auto &[art, q] : items) {
                row(doc, art, q, 0, art == kMilk ? "FRE" : "SEC", QVariant());
                stock[art] += q;
            }
        }

        // Production: five to nine runs of 10 to 40 litres.
        const int runs = rng.range(5, 9);
        for (int k = 0; k < runs; ++k) {
            const Recipe &rec = recipes[rng.range(0, kRecipes - 1)];
            const Cents litres = Cents(rng.range(10, 40)) * 100;
            const int doc = document("P", day, 0, rec.id, litres);
            for (const auto &c : rec.components) {
                const Cents use = litres * c.perLitre / 1000;
                const int p = wastePercent(c.ingredient);
                const Cents waste = use * p / (100 - p);
                row(doc, c.ingredient, use, waste, QVariant(), QVariant());
                stock[c.ingredient] -= use + waste;
            }
        }

        // Now and then a tasting, a gift, something broken or expired.
        if (rng.chance(60)) {
            const int doc = document("S", day, 0, 0, 0);
            const int n = rng.range(1, 2);
            for (int k = 0; k < n; ++k) {
                const int art = rng.range(1, kIngredients);
                const Cents q = std::max<Cents>(dailyUse[art] / 10, 10);
                row(doc, art, q, 0, QVariant(), kUses[rng.range(0, int(kUses.size()) - 1)]);
                stock[art] -= q;
            }
        }

        if (di % 20 == 19)
            tr.commitRetaining();
    }

    db::exec(tr, "UPDATE keygen SET anagrafica = (SELECT COALESCE(MAX(id), 0) FROM anagrafica), "
                 "articoli = (SELECT COALESCE(MAX(id), 0) FROM articoli), "
                 "documenti = (SELECT COALESCE(MAX(id), 0) FROM documenti), "
                 "righe = (SELECT COALESCE(MAX(id), 0) FROM righe)");
    tr.commit();
    att.close();
    gfix(file, {QStringLiteral("-sweep")});
    gfix(file, {QStringLiteral("-write"), QStringLiteral("sync")});
    return sum;
}

} // namespace stockbench
