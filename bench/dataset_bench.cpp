// The record set on a large table: opening 100,000 rows, moving through all of them, posting
// 1,000 new records. Prints the time of each operation in total and per record.
#include "db/DataSet.h"
#include "db/Firebird.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const db::ConnectParams params{"sysdba", "x", "UTF8"};
    db::Attachment att;
    att.create(dir.filePath("bench.fdb"), params);
    db::Transaction tr(att);
    att.executeImmediate(tr, "CREATE TABLE righe_prova (id INTEGER NOT NULL PRIMARY KEY, doc_id INTEGER, art_id INTEGER, "
                             "quantita NUMERIC(9,2), qta_uso NUMERIC(9,2), stato VARCHAR(3), nota VARCHAR(50), data DATE)");
    tr.commitRetaining();
    att.executeImmediate(tr, "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= 100000) DO BEGIN "
                             "INSERT INTO righe_prova VALUES (:i, :i / 10, MOD(:i, 80), :i / 100.0, :i / 100.0, 'F', "
                             "'riga ' || :i, DATEADD(MOD(:i, 3650) DAY TO DATE '2016-01-01')); i = i + 1; END END");
    tr.commitRetaining();

    QTextStream out(stdout);
    auto report = [&](const char *what, qint64 ns, int n) {
        out << QString("%1: %2 ms in all, %3 µs per record\n")
                   .arg(what, -34)
                   .arg(double(ns) / 1e6, 9, 'f', 1)
                   .arg(double(ns) / 1e3 / n, 8, 'f', 2);
    };

    db::DataSet ds(tr, "tabRighe");
    ds.SelectSQL = {"SELECT id, doc_id, art_id, quantita, qta_uso, stato, nota, data", "  FROM righe_prova",
                    " ORDER BY id"};
    ds.setTable("righe_prova", {"ID"});
    QElapsedTimer t;
    t.start();
    ds.open();
    report("open 100,000 rows", t.nsecsElapsed(), ds.recordCount());

    t.restart();
    db::Decimal sum;
    int n = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        sum += ds.fieldByName("QUANTITA").asDecimal();
        ++n;
    }
    report("scroll through every row", t.nsecsElapsed(), n);

    t.restart();
    for (int i = 0; i < 1000; ++i) {
        ds.append();
        ds.fieldByName("ID").setValue(200000 + i);
        ds.fieldByName("ART_ID").setValue(i % 80);
        ds.fieldByName("QUANTITA").setAsString("1,5");
        ds.fieldByName("NOTA").setValue("nuova");
        ds.post();
    }
    report("post 1,000 new records", t.nsecsElapsed(), 1000);

    t.restart();
    ds.refresh();
    report("refresh (close, reopen, reposition)", t.nsecsElapsed(), ds.recordCount());
    tr.commit();
    att.close();
    db::engine::shutdown();
    out << "check sum " << sum.toString(2) << "\n";
    return 0;
}
