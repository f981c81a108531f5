// The model, the grid and the bound boxes over a DataSet on a real database: the model stays
// consistent through every change (QAbstractItemModelTester), the grid and the dataset follow each
// other, and typing goes through the field's rules.
#include "ScriptedPrompter.h"
#include "ui/DBControls.h"
#include "ui/DataSetModel.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

using namespace db;

class TstDataSetModel : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Attachment> att;
    std::unique_ptr<Transaction> trn;
    std::unique_ptr<DataSet> ds, units;

private slots:
    void init()
    {
        static int n = 0;
        att = std::make_unique<Attachment>();
        att->create(dir.filePath(QString("m%1.fdb").arg(++n)), {"sysdba", "x", "UTF8"});
        trn = std::make_unique<Transaction>(*att);
        att->executeImmediate(*trn, "CREATE TABLE art (id INTEGER NOT NULL PRIMARY KEY, nome VARCHAR(40), "
                                    "prezzo NUMERIC(9,2), preferito SMALLINT, um VARCHAR(3))");
        att->executeImmediate(*trn, "CREATE TABLE um (valore VARCHAR(3), descrizione VARCHAR(20))");
        trn->commitRetaining();
        for (int i = 1; i <= 4; ++i)
            exec(*trn, "INSERT INTO art VALUES (?, ?, ?, ?, 'KG')", {i, QString("Art %1").arg(i), 1000 * i + 0.5, i % 2});
        exec(*trn, "INSERT INTO um VALUES ('KG', 'Chilogrammi')");
        exec(*trn, "INSERT INTO um VALUES ('LT', 'Litri')");
        ds = std::make_unique<DataSet>(*trn, "tabArt");
        ds->SelectSQL = {"SELECT id, nome, prezzo, preferito, um FROM art ORDER BY id"};
        ds->setTable("art", {"ID"});
        ds->declareField("PREZZO", FieldType::Decimal).displayFormat = "#,##0.00";
        units = std::make_unique<DataSet>(*trn, "qUnitaMis");
        units->SelectSQL = {"SELECT valore, descrizione FROM um ORDER BY valore"};
        units->open();
        ds->open();
    }
    void cleanup()
    {
        ds.reset();
        units.reset();
        trn.reset();
        att.reset();
    }
    void cleanupTestCase() { engine::shutdown(); }

    void modelStaysConsistentThroughChanges()
    {
        ui::DataSetModel model(ds.get());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.data(model.index(1, model.columnOf("PREZZO")), Qt::DisplayRole).toString(), QString("2.000,50"));
        QCOMPARE(model.data(model.index(1, model.columnOf("PREZZO")), Qt::EditRole).toString(), QString("2000,5"));
        ds->setRecNo(1);
        ds->insert();
        QCOMPARE(model.rowCount(), 5);
        ds->cancel();
        QCOMPARE(model.rowCount(), 4);
        ds->append();
        ds->fieldByName("ID").setValue(9);
        ds->fieldByName("NOME").setValue("Nuovo");
        ds->post();
        QCOMPARE(model.data(model.index(4, model.columnOf("NOME")), Qt::DisplayRole).toString(), QString("Nuovo"));
        ds->setRecNo(0);
        ds->remove();
        QCOMPARE(model.rowCount(), 4);
        ds->refresh();
        ds->close();
        QCOMPARE(model.rowCount(), 0);
        ds->open();
        QCOMPARE(model.rowCount(), 4);
    }

    void editingACellGoesThroughTheField()
    {
        ui::DataSetModel model(ds.get());
        model.setColumns({{"NOME", "Nome"}, {"PREZZO", "Prezzo"}, {"PREFERITO", "Pref.", 0, false, true},
                          {"ID", "Id", 0, true}});
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Nome"));
        QVERIFY(!(model.flags(model.index(0, 3)) & Qt::ItemIsEditable));
        QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsUserCheckable);
        QCOMPARE(model.data(model.index(0, 2), Qt::CheckStateRole).toInt(), int(Qt::Checked));

        // an editor closed without a change starts no edit
        QVERIFY(model.setData(model.index(2, 1), model.data(model.index(2, 1), Qt::EditRole), Qt::EditRole));
        QCOMPARE(ds->state(), DataSetState::Browse);
        QVERIFY(model.setData(model.index(2, 1), "12,5", Qt::EditRole));
        QCOMPARE(ds->recNo(), 2);
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(ds->fieldByName("PREZZO").asDecimal(), *Decimal::parse("12.5"));
        QCOMPARE(model.data(model.index(2, 2), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(model.setData(model.index(2, 2), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(ds->fieldByName("PREFERITO").asInteger(), 0);
        QCOMPARE(model.data(model.index(2, 2), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    }

    void refusedAndWrongValues()
    {
        ScriptedPrompter p;
        ui::DataSetModel model(ds.get());
        ds->fieldByName("NOME").OnValidate = [](Field &f) {
            if (f.asString().isEmpty())
                throw Abort();
        };
        QVERIFY(!model.setData(model.index(0, model.columnOf("NOME")), "", Qt::EditRole));
        QCOMPARE(ds->fieldByName("NOME").asString(), QString("Art 1"));
        p.expectError("non è un valore numerico valido");
        QVERIFY(!model.setData(model.index(0, model.columnOf("PREZZO")), "dodici", Qt::EditRole));
        p.verifyDone();
    }

    void coloursComeFromTheCallback()
    {
        ui::DataSetModel model(ds.get());
        model.cellStyle = [this](int record, const QString &field) {
            ui::DataSetModel::CellStyle s;
            if (field == "PREZZO" && ds->valueAt(record, ds->fieldByName("PREZZO").index()).value<Decimal>() > Decimal(3000))
                s.background = QColor(255, 0, 0);
            return s;
        };
        const int c = model.columnOf("PREZZO");
        QVERIFY(!model.data(model.index(0, c), Qt::BackgroundRole).isValid());
        QCOMPARE(model.data(model.index(3, c), Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    }

    void gridAndDataSetFollowEachOther()
    {
        ui::DBGrid grid(ds.get());
        grid.resize(400, 200);
        ds->setRecNo(2);
        QCOMPARE(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(grid.model()->index(3, 0));
        QCOMPARE(ds->recNo(), 3);
        // a record that cannot be posted keeps the dataset, and the grid, where they are
        ScriptedPrompter p;
        ds->BeforePost = [](DataSet &) { throw Abort(); };
        ds->edit();
        ds->fieldByName("NOME").setValue("bloccato");
        grid.setCurrentIndex(grid.model()->index(0, 0));
        QCOMPARE(ds->recNo(), 3);
        QCOMPARE(grid.currentIndex().row(), 3);
        p.verifyDone();
    }

    void boundBoxes()
    {
        ui::DBEdit edit(ds.get(), "NOME");
        ui::DBCheckBox check(ds.get(), "PREFERITO", "Preferito");
        ui::DBLookupCombo combo(ds.get(), "UM", units.get(), "VALORE", "DESCRIZIONE");
        QCOMPARE(edit.text(), QString("Art 1"));
        QVERIFY(check.isChecked());
        QCOMPARE(combo.currentText(), QString("Chilogrammi"));
        ds->next();
        QCOMPARE(edit.text(), QString("Art 2"));
        QVERIFY(!check.isChecked());

        QTest::keyClicks(&edit, "X");
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(ds->fieldByName("NOME").asString(), QString("Art 2")); // written when left or posted
        ds->post();
        QCOMPARE(selectValue(*trn, "SELECT nome FROM art WHERE id = 2").toString(), QString("Art 2X"));

        check.click();
        QCOMPARE(ds->fieldByName("PREFERITO").asInteger(), 1);
        combo.setCurrentIndex(1);
        emit combo.activated(1);
        QCOMPARE(ds->fieldByName("UM").asString(), QString("LT"));
        ds->cancel();
        QCOMPARE(combo.currentText(), QString("Chilogrammi"));
        QVERIFY(!check.isChecked());
    }
};

QTEST_MAIN(TstDataSetModel)
#include "tst_datasetmodel.moc"
