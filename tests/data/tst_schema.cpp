// The schema of a new database, read back from the system tables: every table and column with
// its type and nullability, the primary keys, the references and the two cascades.
#include "TestDatabase.h"
#include "data/dmGenerale.h"

#include <QSet>
#include <QTest>

namespace {

struct Column {
    const char *table, *column, *type;
    bool notNull;
};

// "text" stands for a column whose text type is left open (the version).
const Column Expected[] = {
        {"anagrafica", "ID", "INTEGER", true},
        {"anagrafica", "RAGIONE", "VARCHAR(100)", false},
        {"anagrafica", "PART_IVA", "VARCHAR(16)", false},
        {"anagrafica", "COD_FISC", "VARCHAR(16)", false},
        {"anagrafica", "INDIRIZZO", "VARCHAR(50)", false},
        {"anagrafica", "LUOGO", "VARCHAR(50)", false},
        {"anagrafica", "TEL1", "VARCHAR(20)", false},
        {"anagrafica", "TEL2", "VARCHAR(20)", false},
        {"anagrafica", "FAX", "VARCHAR(20)", false},
        {"anagrafica", "EMAIL", "VARCHAR(100)", false},
        {"anagrafica", "WEB", "VARCHAR(100)", false},
        {"anagrafica", "CAP", "VARCHAR(5)", false},
        {"articoli", "ID", "INTEGER", true},
        {"articoli", "NOME", "VARCHAR(100)", false},
        {"articoli", "UM", "VARCHAR(3)", false},
        {"articoli", "CATEGORIA", "VARCHAR(3)", false},
        {"articoli", "CDATE", "DATE", false},
        {"articoli", "MDATE", "DATE", false},
        {"articoli", "QTA_FRUTTA", "INTEGER", false},
        {"articoli", "QTA_PF", "INTEGER", false},
        {"articoli", "ZUCCHERI", "NUMERIC(9,2)", false},
        {"articoli", "GRASSI", "NUMERIC(9,2)", false},
        {"articoli", "PROTEINE", "NUMERIC(9,2)", false},
        {"articoli", "LATTOSIO", "NUMERIC(9,2)", false},
        {"articoli", "ALTRI_SOLIDI", "NUMERIC(9,2)", false},
        {"articoli", "ACQUA", "NUMERIC(9,2)", false},
        {"articoli", "PREZZO", "NUMERIC(9,2)", false},
        {"articoli", "CAT_STATO", "VARCHAR(3)", false},
        {"articoli", "PREFERITO", "SMALLINT", false},
        {"categorie", "CATEGORIA", "VARCHAR(3)", true},
        {"categorie", "DESCRIZIONE", "VARCHAR(50)", false},
        {"categorie", "TIPO", "VARCHAR(10)", false},
        {"parametri_cat", "CATEGORIA", "VARCHAR(3)", true},
        {"parametri_cat", "LATTE_DERIVATI", "NUMERIC(9,2)", false},
        {"parametri_cat", "TUORLO", "NUMERIC(9,2)", false},
        {"parametri_cat", "SLNG", "NUMERIC(9,2)", false},
        {"parametri_cat", "GRASSI_LATTE", "NUMERIC(9,2)", false},
        {"parametri_cat", "FRUTTA", "NUMERIC(9,2)", false},
        {"parametri_bil", "CATEGORIA", "VARCHAR(3)", true},
        {"parametri_bil", "MIN_ZUCCHERI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_ZUCCHERI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MIN_GRASSI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_GRASSI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MIN_PROTEINE", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_PROTEINE", "NUMERIC(9,2)", false},
        {"parametri_bil", "MIN_LATTOSIO", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_LATTOSIO", "NUMERIC(9,2)", false},
        {"parametri_bil", "MIN_ALTRI_SOLIDI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_ALTRI_SOLIDI", "NUMERIC(9,2)", false},
        {"parametri_bil", "MIN_SECCO", "NUMERIC(9,2)", false},
        {"parametri_bil", "MAX_SECCO", "NUMERIC(9,2)", false},
        {"stati_cat", "CATEGORIA", "VARCHAR(3)", true},
        {"stati_cat", "STATO", "VARCHAR(3)", true},
        {"sottoarticoli", "ART_ID_BASE", "INTEGER", true},
        {"sottoarticoli", "ART_ID_INGR", "INTEGER", true},
        {"sottoarticoli", "PROGR", "SMALLINT", false},
        {"sottoarticoli", "UM", "VARCHAR(3)", false},
        {"sottoarticoli", "QUANTITA", "NUMERIC(9,3)", false},
        {"sottoarticoli", "SCARTO", "NUMERIC(9,3)", false},
        {"sottoarticoli", "MOLT", "NUMERIC(9,3)", false},
        {"sottoarticoli", "QTA_SCARICO", "NUMERIC(9,3)", false},
        {"sottoarticoli", "NO_PESO", "SMALLINT", true},
        {"documenti", "ID", "INTEGER", true},
        {"documenti", "GENERE", "CHAR(1)", true},
        {"documenti", "DATA", "DATE", false},
        {"documenti", "ANNO", "INTEGER", false},
        {"documenti", "NUMERO", "VARCHAR(12)", false},
        {"documenti", "TIPO", "VARCHAR(3)", false},
        {"documenti", "ANAGR_ID", "INTEGER", false},
        {"documenti", "ART_ID_BASE", "INTEGER", false},
        {"documenti", "QUANTITA", "NUMERIC(9,2)", false},
        {"documenti", "ART_ID_GUSTO", "INTEGER", false},
        {"documenti", "QTA_PF", "NUMERIC(9,2)", false},
        {"righe", "ID", "INTEGER", true},
        {"righe", "DOC_ID", "INTEGER", true},
        {"righe", "ART_ID", "INTEGER", true},
        {"righe", "QUANTITA", "NUMERIC(9,2)", false},
        {"righe", "QTA_USO", "NUMERIC(9,2)", false},
        {"righe", "QTA_SCARTO", "NUMERIC(9,2)", false},
        {"righe", "STATO", "VARCHAR(3)", false},
        {"righe", "TIPO_USO", "VARCHAR(3)", false},
        {"righe", "SALDO_ID", "CHAR(31)", false},
        {"tipi_dominio", "DOMINIO", "VARCHAR(10)", true},
        {"tipi_dominio", "DESCRIZIONE", "VARCHAR(50)", false},
        {"domini", "DOMINIO", "VARCHAR(10)", true},
        {"domini", "VALORE", "VARCHAR(10)", true},
        {"domini", "DESC_IT", "VARCHAR(50)", false},
        {"domini", "DESC_TE", "VARCHAR(50)", false},
        {"calorie", "CARBOIDRATI", "NUMERIC(4,1)", false},
        {"calorie", "PROTEINE", "NUMERIC(4,1)", false},
        {"calorie", "GRASSI", "NUMERIC(4,1)", false},
        {"calorie", "ALCOOL", "NUMERIC(4,1)", false},
        {"keygen", "ANAGRAFICA", "INTEGER", false},
        {"keygen", "ARTICOLI", "INTEGER", false},
        {"keygen", "DOCUMENTI", "INTEGER", false},
        {"keygen", "RIGHE", "INTEGER", false},
        {"dummy", "VERSION", "text", false},
        {"codici", "CODICE_CERT", "VARCHAR(16)", false},
        {"codici", "PASS_RIC", "VARCHAR(24)", false},
        {"codici", "IDENTIFICATIVO", "VARCHAR(100)", false},
        {"codici", "PIVA", "VARCHAR(16)", false},
};

const char *TypeQuery =
    "SELECT TRIM(rf.rdb$relation_name), TRIM(rf.rdb$field_name), f.rdb$field_type, f.rdb$field_sub_type, "
    "f.rdb$field_precision, f.rdb$field_scale, f.rdb$character_length, "
    "COALESCE(rf.rdb$null_flag, f.rdb$null_flag, 0) "
    "FROM rdb$relation_fields rf JOIN rdb$fields f ON f.rdb$field_name = rf.rdb$field_source "
    "JOIN rdb$relations r ON r.rdb$relation_name = rf.rdb$relation_name "
    "WHERE COALESCE(r.rdb$system_flag, 0) = 0 AND r.rdb$view_blr IS NULL";

QString typeName(int type, int sub, int precision, int scale, int charLength)
{
    if ((type == 7 || type == 8 || type == 16) && (sub == 1 || sub == 2 || scale < 0))
        return QString("%1(%2,%3)").arg(sub == 2 ? "DECIMAL" : "NUMERIC").arg(precision).arg(-scale);
    switch (type) {
    case 7: return "SMALLINT";
    case 8: return "INTEGER";
    case 16: return "BIGINT";
    case 12: return "DATE";
    case 14: return QString("CHAR(%1)").arg(charLength);
    case 37: return QString("VARCHAR(%1)").arg(charLength);
    default: return QString("type %1").arg(type);
    }
}

} // namespace

class TstSchema : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<db::Attachment> att;
    std::unique_ptr<db::Transaction> trn;

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>();
        att = std::make_unique<db::Attachment>();
        att->open(database->file(), TdmGenerale::connectParams());
        trn = std::make_unique<db::Transaction>(*att);
    }
    void cleanup()
    {
        trn.reset();
        att.reset();
        database.reset();
    }
    void cleanupTestCase() { db::engine::shutdown(); }

    void everyColumnWithItsTypeAndNullability()
    {
        QMap<QString, QPair<QString, bool>> actual;
        db::Statement q(*trn, TypeQuery);
        auto rs = q.open();
        while (rs->next()) {
            const QString key = rs->value(0).toString().toLower() + "." + rs->value(1).toString();
            actual[key] = {typeName(rs->value(2).toInt(), rs->value(3).toInt(), rs->value(4).toInt(),
                                    rs->value(5).toInt(), rs->value(6).toInt()),
                           rs->value(7).toInt() != 0};
        }
        QSet<QString> expectedTables;
        for (const Column &c : Expected) {
            expectedTables << c.table;
            const QString key = QString(c.table) + "." + c.column;
            QVERIFY2(actual.contains(key), qPrintable("missing column " + key));
            if (QString(c.type) != "text")
                QCOMPARE(actual[key].first + " " + key, QString(c.type) + " " + key);
            else
                QVERIFY(actual[key].first.startsWith("VARCHAR") || actual[key].first.startsWith("CHAR"));
            QCOMPARE(QString(actual[key].second ? "NOT NULL " : "NULL ") + key,
                     QString(c.notNull ? "NOT NULL " : "NULL ") + key);
            actual.remove(key);
        }
        // Any further column of a listed table is one the program does not know about; the only
        // ones allowed are the stock figures the database keeps for itself on the rows.
        for (auto it = actual.cbegin(); it != actual.cend(); ++it) {
            const QString table = it.key().section('.', 0, 0);
            QVERIFY2(!expectedTables.contains(table) || table == "righe", qPrintable("unexpected column " + it.key()));
        }
    }

    void primaryKeys_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("anagrafica") << "ANAGRAFICA" << "ID";
        QTest::newRow("articoli") << "ARTICOLI" << "ID";
        QTest::newRow("categorie") << "CATEGORIE" << "CATEGORIA";
        QTest::newRow("parametri_cat") << "PARAMETRI_CAT" << "CATEGORIA";
        QTest::newRow("parametri_bil") << "PARAMETRI_BIL" << "CATEGORIA";
        QTest::newRow("stati_cat") << "STATI_CAT" << "CATEGORIA,STATO";
        QTest::newRow("sottoarticoli") << "SOTTOARTICOLI" << "ART_ID_BASE,ART_ID_INGR";
        QTest::newRow("documenti") << "DOCUMENTI" << "ID";
        QTest::newRow("righe") << "RIGHE" << "ID";
        QTest::newRow("tipi_dominio") << "TIPI_DOMINIO" << "DOMINIO";
        QTest::newRow("domini") << "DOMINI" << "DOMINIO,VALORE";
    }
    void primaryKeys()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        db::Statement q(*trn, "SELECT TRIM(s.rdb$field_name) FROM rdb$relation_constraints c "
                             "JOIN rdb$index_segments s ON s.rdb$index_name = c.rdb$index_name "
                             "WHERE c.rdb$constraint_type = 'PRIMARY KEY' AND c.rdb$relation_name = ? "
                             "ORDER BY s.rdb$field_position");
        q.setParam(0, table);
        auto rs = q.open();
        QStringList got;
        while (rs->next())
            got << rs->value(0).toString();
        QCOMPARE(got.join(','), columns);
    }

    void oneRowTablesHaveTheirRow()
    {
        for (const char *t : {"calorie", "keygen", "dummy", "codici"})
            QCOMPARE(db::selectValue(*trn, QString("SELECT COUNT(*) FROM %1").arg(t)).toInt(), 1);
        QCOMPARE(db::selectValue(*trn, "SELECT version FROM dummy").toString(), QString("1.13"));
        db::Statement q(*trn, "SELECT carboidrati, proteine, grassi, alcool FROM calorie");
        auto rs = q.open();
        QVERIFY(rs->next());
        QCOMPARE(rs->value(0).value<db::Decimal>(), db::Decimal(4));
        QCOMPARE(rs->value(1).value<db::Decimal>(), db::Decimal(4));
        QCOMPARE(rs->value(2).value<db::Decimal>(), db::Decimal(9));
        QCOMPARE(rs->value(3).value<db::Decimal>(), db::Decimal(7));
    }

    void baseDataHasTheFixedCategoriesAndDomains()
    {
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM categorie WHERE tipo = 'I' AND categoria IN "
                                      "('00','01','10','11','12','13','14')")
                     .toInt(),
                 7);
        for (const char *d : {"UNITA_MIS", "TIPI_DOC", "ALTRI_USI", "STATI_ING", "TIPI_CAT"})
            QVERIFY2(db::selectValue(*trn, "SELECT COUNT(*) FROM domini WHERE dominio = ?", {d}).toInt() > 0, d);
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM domini WHERE dominio = 'UNITA_MIS' AND valore = 'KG'").toInt(), 1);
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM domini WHERE dominio = 'TIPI_CAT' AND valore IN ('I','R','S')").toInt(), 3);
        // every recipe category comes with its balancing ranges, each minimum not above its maximum
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM categorie c LEFT JOIN parametri_bil b ON b.categoria = c.categoria "
                                      "WHERE c.tipo = 'R' AND b.categoria IS NULL").toInt(), 0);
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM parametri_bil WHERE min_zuccheri > max_zuccheri OR "
                                      "min_grassi > max_grassi OR min_secco > max_secco").toInt(), 0);
        QVERIFY(db::selectValue(*trn, "SELECT COUNT(*) FROM categorie WHERE tipo = 'R'").toInt() > 0);
    }

    void documentsOwnTheirRowsAndRecipesTheirComponents()
    {
        db::exec(*trn, "INSERT INTO categorie (categoria, descrizione, tipo) VALUES ('T1', 'Prova', 'I')");
        db::exec(*trn, "INSERT INTO articoli (id, nome, categoria) VALUES (9001, 'Latte di prova', 'T1')");
        db::exec(*trn, "INSERT INTO articoli (id, nome, categoria) VALUES (9002, 'Ricetta di prova', 'T1')");
        db::exec(*trn, "INSERT INTO sottoarticoli (art_id_base, art_id_ingr, quantita, no_peso) VALUES (9002, 9001, 1000, 0)");
        db::exec(*trn, "INSERT INTO documenti (id, genere, data) VALUES (9001, 'C', '2026-01-10')");
        db::exec(*trn, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso) VALUES (9001, 9001, 9001, 10, 10)");
        db::exec(*trn, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso) VALUES (9002, 9001, 9001, 5, 5)");

        QCOMPARE(db::exec(*trn, "DELETE FROM documenti WHERE id = 9001"), 1);
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM righe WHERE doc_id = 9001").toInt(), 0);
        QCOMPARE(db::exec(*trn, "DELETE FROM articoli WHERE id = 9002"), 1);
        QCOMPARE(db::selectValue(*trn, "SELECT COUNT(*) FROM sottoarticoli WHERE art_id_base = 9002").toInt(), 0);
        trn->rollback();
    }

    void theDatabaseRefusesOrphansAndDuplicates_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("row without document") << "INSERT INTO righe (id, doc_id, art_id) VALUES (9100, 987654, 9001)";
        QTest::newRow("row without article") << "INSERT INTO righe (id, doc_id, art_id) VALUES (9100, 9001, 987654)";
        QTest::newRow("row without article id") << "INSERT INTO righe (id, doc_id) VALUES (9100, 9001)";
        QTest::newRow("load from an unknown supplier")
            << "INSERT INTO documenti (id, genere, anagr_id) VALUES (9100, 'C', 987654)";
        QTest::newRow("component of an unknown recipe")
            << "INSERT INTO sottoarticoli (art_id_base, art_id_ingr, no_peso) VALUES (987654, 9001, 0)";
        QTest::newRow("same component twice")
            << "INSERT INTO sottoarticoli (art_id_base, art_id_ingr, no_peso) VALUES (9002, 9001, 0)";
        QTest::newRow("same allowed state twice")
            << "INSERT INTO stati_cat (categoria, stato) SELECT categoria, stato FROM stati_cat ROWS 1";
        QTest::newRow("same domain value twice")
            << "INSERT INTO domini (dominio, valore) VALUES ('UNITA_MIS', 'KG')";
        QTest::newRow("document without kind") << "INSERT INTO documenti (id) VALUES (9100)";
    }
    void theDatabaseRefusesOrphansAndDuplicates()
    {
        QFETCH(QString, statement);
        db::exec(*trn, "INSERT INTO categorie (categoria, descrizione, tipo) VALUES ('T1', 'Prova', 'I')");
        db::exec(*trn, "INSERT INTO articoli (id, nome, categoria) VALUES (9001, 'Latte', 'T1')");
        db::exec(*trn, "INSERT INTO articoli (id, nome, categoria) VALUES (9002, 'Ricetta', 'T1')");
        db::exec(*trn, "INSERT INTO sottoarticoli (art_id_base, art_id_ingr, no_peso) VALUES (9002, 9001, 0)");
        db::exec(*trn, "INSERT INTO documenti (id, genere) VALUES (9001, 'C')");
        QVERIFY_THROWS_EXCEPTION(db::DbError, db::exec(*trn, statement));
        trn->rollback();
    }

    void sameDomainValueUnderAnotherDomainIsAccepted()
    {
        QCOMPARE(db::exec(*trn, "INSERT INTO domini (dominio, valore, desc_it) VALUES ('TIPI_DOC', 'KG', 'prova')"), 1);
        trn->rollback();
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
