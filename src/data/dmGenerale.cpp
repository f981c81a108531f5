#include "dmGenerale.h"

#include "Fiscale.h"
#include "KeyGenerator.h"
#include "frmListaDlg.h"
#include "ScriptRunner.h"
#include "app/AppConfig.h"
#include "app/frmMain.h"
#include "ui/Prompter.h"

#include <QFile>
#include <QTimer>
#include <QToolButton>

TdmGenerale *dmGenerale = nullptr;

namespace {

// Delphi's StrToInt: an integer with optional blanks before it, or a conversion error whose text
// stops the start like any other error.
int strToInt(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || text.isEmpty() || text.back().isSpace())
        throw db::DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

} // namespace

TdmGenerale::TdmGenerale(QObject *parent) : QObject(parent)
{
    AskKeyRetry = [] {
        return ui::prompter().ask(
            QStringLiteral("Impossibile creare nuovo record! Premere si per riprovare, no per annullare!"),
            QStringLiteral("Conferma"), ui::Icon::Question, true);
    };
    createSharedDataSets();
}

db::DataSet *TdmGenerale::CreateDataSet(const QString &name, QObject *owner)
{
    auto *ds = new db::DataSet(ta1, name, owner ? owner : this);
    working_.emplace_back(ds);
    return ds;
}

std::vector<db::DataSet *> TdmGenerale::WorkingDataSets() const
{
    std::vector<db::DataSet *> out;
    for (const auto &p : working_)
        if (p)
            out.push_back(p.data());
    return out;
}

void TdmGenerale::createSharedDataSets()
{
    auto list = [this](const QString &name, const QStringList &sql) {
        db::DataSet *ds = CreateDataSet(name, this);
        ds->SelectSQL = sql;
        return ds;
    };
    auto domain = [&](const QString &name, const QString &dominio) {
        return list(name, {QStringLiteral("SELECT valore, desc_it AS descrizione"), QStringLiteral("  FROM domini"),
                           QStringLiteral(" WHERE dominio = '%1'").arg(dominio), QStringLiteral(" ORDER BY valore")});
    };
    auto categories = [&](const QString &name, const QString &tipo, bool all) {
        QStringList sql{QStringLiteral("SELECT categoria, descrizione"), QStringLiteral("  FROM categorie"),
                        QStringLiteral(" WHERE tipo = '%1'").arg(tipo)};
        if (all)
            sql << QStringLiteral(" UNION SELECT '', '<Tutti>' FROM dummy");
        sql << QStringLiteral(" ORDER BY 1");
        return list(name, sql);
    };
    qUnitaMis = domain(QStringLiteral("qUnitaMis"), QStringLiteral("UNITA_MIS"));
    qTipiDoc = domain(QStringLiteral("qTipiDoc"), QStringLiteral("TIPI_DOC"));
    qCatIngr = categories(QStringLiteral("qCatIngr"), QStringLiteral("I"), false);
    qCatRic = categories(QStringLiteral("qCatRic"), QStringLiteral("R"), false);
    qCatStato = categories(QStringLiteral("qCatStato"), QStringLiteral("S"), false);
    qCatIngrF = categories(QStringLiteral("qCatIngrF"), QStringLiteral("I"), true);
    qCatRicF = categories(QStringLiteral("qCatRicF"), QStringLiteral("R"), true);

    auto changed = [this](db::DataSet &ds) { AfterChange(&ds); };

    tabAnag = list(QStringLiteral("tabAnag"), {QStringLiteral("SELECT *"), QStringLiteral("  FROM anagrafica"),
                                                QStringLiteral(" ORDER BY ragione")});
    tabAnag->setTable(QStringLiteral("anagrafica"), {QStringLiteral("ID")});
    tabAnag->OnNewRecord = [this](db::DataSet &ds) { tabAnagNewRecord(ds); };
    tabAnag->BeforePost = [this](db::DataSet &ds) { tabAnagBeforePost(ds); };
    tabAnag->BeforeDelete = [this](db::DataSet &ds) { tabAnagBeforeDelete(ds); };
    tabAnag->declareField(QStringLiteral("PART_IVA"), db::FieldType::String).OnValidate = [this](db::Field &f) {
        tabAnagPART_IVAValidate(f);
    };
    tabAnag->declareField(QStringLiteral("COD_FISC"), db::FieldType::String).OnValidate = [this](db::Field &f) {
        tabAnagCOD_FISCValidate(f);
    };

    tabTDominio = list(QStringLiteral("tabTDominio"), {QStringLiteral("SELECT dominio, descrizione"),
                                                        QStringLiteral("  FROM tipi_dominio"),
                                                        QStringLiteral(" ORDER BY dominio")});
    tabTDominio->setTable(QStringLiteral("tipi_dominio"), {QStringLiteral("DOMINIO")});
    tabDomini = list(QStringLiteral("tabDomini"), {QStringLiteral("SELECT dominio, valore, desc_it, desc_te"),
                                                    QStringLiteral("  FROM domini"),
                                                    QStringLiteral(" WHERE dominio = :DOMINIO"),
                                                    QStringLiteral(" ORDER BY valore")});
    tabDomini->setTable(QStringLiteral("domini"), {QStringLiteral("DOMINIO"), QStringLiteral("VALORE")});
    tabDomini->setMaster(tabTDominio, {{QStringLiteral("DOMINIO"), QStringLiteral("DOMINIO")}});
    tabDomini->OnNewRecord = [this](db::DataSet &ds) { tabDominiNewRecord(ds); };

    tabCalorie = list(QStringLiteral("tabCalorie"), {QStringLiteral("SELECT carboidrati, proteine, grassi, alcool"),
                                                      QStringLiteral("  FROM calorie")});
    tabCalorie->ModifySQL = {QStringLiteral("UPDATE calorie SET carboidrati = :CARBOIDRATI, proteine = :PROTEINE,"),
                             QStringLiteral("       grassi = :GRASSI, alcool = :ALCOOL")};
    tabCalorie->DeleteSQL = {QStringLiteral("delete from calorie")};
    tabCalorie->RefreshSQL = {QStringLiteral("SELECT carboidrati, proteine, grassi, alcool FROM calorie")};

    for (db::DataSet *ds : {tabAnag, tabTDominio, tabDomini, tabCalorie}) {
        ds->AfterInsert = changed;
        ds->AfterEdit = changed;
        ds->AfterDelete = changed;
    }

    qGenerica = list(QStringLiteral("qGenerica"), {QStringLiteral("SELECT * FROM dummy")});
}

void TdmGenerale::GetNewKey(db::DataSet &ds, const QString &keyField, const QString &counter)
{
    const qint64 key = takeNewKey(taKeyGen, counter, AskKeyRetry);
    ds.fieldByName(keyField).setValue(key);
}

void TdmGenerale::AfterChange(db::DataSet *)
{
    PendingChanges = true;
    if (frmMain) {
        frmMain->sbCommit->setEnabled(true);
        frmMain->sbRollback->setEnabled(true);
    }
}

void TdmGenerale::AssignString(db::Field &f, const QString &value)
{
    if (f.asString() == value)
        return;
    if (!f.dataSet().isEditing())
        f.dataSet().edit();
    f.setValue(value);
}

void TdmGenerale::AssignInteger(db::Field &f, qint64 value)
{
    if (f.asInteger() == value)
        return;
    if (!f.dataSet().isEditing())
        f.dataSet().edit();
    f.setValue(QVariant::fromValue(qlonglong(value)));
}

void TdmGenerale::AssignDecimal(db::Field &f, db::Decimal value)
{
    if (f.asDecimal() == value)
        return;
    if (!f.dataSet().isEditing())
        f.dataSet().edit();
    f.setValue(QVariant::fromValue(value));
}

db::DataSet &TdmGenerale::Generica(const QString &sql)
{
    qGenerica->close();
    qGenerica->SelectSQL = QStringList{sql};
    qGenerica->open();
    return *qGenerica;
}

QString TdmGenerale::DaiPreferiti()
{
    db::DataSet &q = Generica(QStringLiteral("SELECT SUM(preferito), COUNT(*) FROM articoli"));
    const qint64 favourites = q.fields()[0]->asInteger();
    const qint64 all = q.fields()[1]->asInteger();
    q.close();
    return QStringLiteral("%1 su %2").arg(favourites).arg(all);
}

void TdmGenerale::AggiornaCategorie()
{
    for (db::DataSet *ds : {qCatIngr, qCatRic, qCatIngrF, qCatRicF}) {
        ds->close();
        ds->open();
    }
}

void TdmGenerale::tabDominiNewRecord(db::DataSet &ds)
{
    if (tabTDominio->active() && !tabTDominio->isEmpty())
        ds.fieldByName(QStringLiteral("DOMINIO")).setValue(tabTDominio->fieldByName(QStringLiteral("DOMINIO")).value());
}

TdmGenerale::~TdmGenerale()
{
    if (dmGenerale == this)
        dmGenerale = nullptr;
}

db::ConnectParams TdmGenerale::connectParams()
{
    db::ConnectParams p;
    p.user = QStringLiteral("sysdba");
    p.password = QStringLiteral("frostvane");
    p.charset = QStringLiteral("UTF8");
    return p;
}

QString TdmGenerale::databaseFile() { return AppConfig().DBPath + QStringLiteral("db.fdb"); }

void TdmGenerale::DataModuleCreate()
{
    OpenDB0();
    AppConfigData &cfg = AppConfig();
    cfg.RecipePassword = codici_.passRic;
    cfg.CompanyName = codici_.identificativo;
    cfg.VatNumber = codici_.piva;
    if (frmMain) {
        frmMain->ShowCompanyData(cfg.CompanyName, cfg.VatNumber, codici_.codiceCert);
        frmMain->RefreshCaption();
    }
    CloseDB0();
    OpenDatabase();
    if (frmMain)
        frmMain->Timer1->start();
}

void TdmGenerale::OpenDB0()
{
    CloseDB0();
    DB0.open(databaseFile(), connectParams());
    CheckVersion();
    readCodici();
}

void TdmGenerale::CloseDB0()
{
    if (DB0.isOpen())
        DB0.close();
}

void TdmGenerale::readCodici()
{
    db::Statement q(ta0, QStringLiteral("SELECT codice_cert, pass_ric, identificativo, piva FROM codici"));
    auto rs = q.open();
    codici_ = Codici();
    if (rs->next()) {
        codici_.codiceCert = rs->value(0).toString();
        codici_.passRic = rs->value(1).toString();
        codici_.identificativo = rs->value(2).toString();
        codici_.piva = rs->value(3).toString();
    }
}

void TdmGenerale::OpenDatabase()
{
    PendingChanges = false;
    CloseDatabase();
    DB1.open(databaseFile(), connectParams());
    ta1.start();
    // Every dataset of the working connection opens, in order; the scratch queries are opened by
    // whoever fills them.
    for (db::DataSet *ds : WorkingDataSets()) {
        if (ds == qGenerica || ds->objectName() == QLatin1String("qLista"))
            continue;
        if (&ds->transaction() != &ta1)
            continue;
        ds->close();
        ds->open();
    }
    if (db::DataSet *tabDoc = findChild<db::DataSet *>(QStringLiteral("tabDoc")))
        tabDoc->last();
}

void TdmGenerale::CloseDatabase()
{
    if (!DB1.isOpen())
        return;
    // The datasets close with the connection.
    for (db::DataSet *ds : WorkingDataSets())
        ds->close();
    DB1.close();
}

QString TdmGenerale::ReadVersion()
{
    try {
        db::Statement q(ta0, QStringLiteral("SELECT version FROM dummy"), false);
        auto rs = q.open();
        if (!rs->next())
            return QStringLiteral("0");
        const QVariant v = rs->value(0);
        return v.isNull() ? QString() : v.toString();
    } catch (const db::DbError &) {
        return QStringLiteral("0");
    }
}

TdmGenerale::VersionNumbers TdmGenerale::ParseVersion(const QString &version)
{
    const int point = version.indexOf(QLatin1Char('.'));
    VersionNumbers n;
    if (point < 0) {
        n.major = strToInt(version);
        n.minor = strToInt(version.left(2));
    } else {
        n.major = strToInt(version.left(point));
        n.minor = strToInt(version.mid(point + 1, 2));
    }
    return n;
}

void TdmGenerale::CheckVersion()
{
    const QString version = ReadVersion();
    if (version == RequiredVersion)
        return;
    const VersionNumbers n = ParseVersion(version);
    if (n.major != RequiredMajor) {
        ui::prompter().info(QStringLiteral("Aggiornare il database alla versione %1.00 prima di continuare!")
                                .arg(RequiredMajor));
        db::abort();
    }
    for (int m = n.minor + 1; m <= RequiredMinor; ++m) {
        const QString v = QStringLiteral("%1.%2").arg(RequiredMajor).arg(m, 2, 10, QLatin1Char('0'));
        if (!UpgradeVersion(v))
            db::abort();
    }
}

bool TdmGenerale::UpgradeVersion(const QString &version)
{
    const QString file = AppConfig().ProgramFolder + QStringLiteral("Sql/DB_v_") + version + QStringLiteral(".sql");
    if (!QFile::exists(file)) {
        ui::prompter().info(QStringLiteral("Non trovo il file %1, aggiornare il database GENERALE alla versione %2 "
                                           "manualmente prima di continuare!")
                                .arg(file, version));
        return false;
    }
    const QString failed = QStringLiteral("Errore nell'aggiornamento del database GENERALE alla versione %1! "
                                          "Aggiornare manualmente prima di continuare!")
                               .arg(version);
    try {
        runScriptLines(ta0, readScriptFile(file));
    } catch (const ScriptFailure &) {
        // Nothing of a failed script may survive: a later commit of ta0 must not apply half of it.
        try {
            ta0.rollbackRetaining();
        } catch (const db::DbError &) {
        }
        ui::prompter().info(failed);
        return false;
    } catch (const db::DbError &) {
        ui::prompter().info(failed);
        return false;
    }
    if (ta0.isActive())
        ta0.commitRetaining();
    if (ReadVersion() != version) {
        ui::prompter().info(failed);
        return false;
    }
    ui::prompter().info(QStringLiteral("Aggiornamento del database alla versione %1 riuscito!").arg(version));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Suppliers

void TdmGenerale::tabAnagNewRecord(db::DataSet &ds) { GetNewKey(ds, QStringLiteral("ID"), QStringLiteral("ANAGRAFICA")); }

void TdmGenerale::tabAnagPART_IVAValidate(db::Field &f)
{
    const QString v = f.asString();
    if (v.isEmpty() || CheckPartitaIva(v))
        return;
    if (!ui::prompter().ask(QStringLiteral("ATTENZIONE! Partita IVA errata, vuoi inserirla lo stesso?"),
                            QStringLiteral("Conferma"), ui::Icon::Question, true))
        db::abort();
}

void TdmGenerale::tabAnagCOD_FISCValidate(db::Field &f)
{
    const QString v = f.asString();
    if (v.isEmpty())
        return;
    if (v.size() <= 13) {
        // a company's tax code is its VAT number
        tabAnagPART_IVAValidate(f);
        return;
    }
    if (CheckCodiceFiscale(v))
        return;
    if (!ui::prompter().ask(QStringLiteral("ATTENZIONE! Codice fiscale errato, vuoi inserirlo lo stesso?"),
                            QStringLiteral("Conferma"), ui::Icon::Question, true))
        db::abort();
}

void TdmGenerale::tabAnagBeforePost(db::DataSet &ds)
{
    if (ds.fieldByName(QStringLiteral("RAGIONE")).asString().isEmpty()) {
        ui::prompter().info(QStringLiteral("Inserire la ragione sociale prima di continuare!"));
        db::abort();
    }
}

void TdmGenerale::tabAnagBeforeDelete(db::DataSet &ds)
{
    const qint64 id = ds.fieldByName(QStringLiteral("ID")).asInteger();
    db::DataSet &q = Generica(QStringLiteral("SELECT COUNT(*) FROM documenti WHERE anagr_id = %1").arg(id));
    const qint64 count = q.fields()[0]->asInteger();
    q.close();
    if (count > 0) {
        ui::prompter().info(QStringLiteral("Impossibile cancellare il fornitore \"%1\", perchè è movimentato in %2 carichi!")
                                .arg(ds.fieldByName(QStringLiteral("RAGIONE")).asString())
                                .arg(count));
        db::abort();
    }
    if (!ui::prompter().ask(QStringLiteral("Vuoi eliminare il fornitore selezionato?"),
                            QStringLiteral("Conferma cancellazione"), ui::Icon::Warning, false))
        db::abort();
}

bool TdmGenerale::ListaArticoli(db::DataSet &dataset, const QString &filter) { return ::ListaArticoli(dataset, filter); }
bool TdmGenerale::ListaRicette(db::DataSet &dataset) { return ::ListaRicette(dataset); }
bool TdmGenerale::ListaIngredienti(db::DataSet &dataset, bool onlyFavourites)
{
    return ::ListaIngredienti(dataset, onlyFavourites);
}
