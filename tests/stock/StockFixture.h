#pragma once
// A fresh database with the stock objects and small helpers to write documents and rows and to read
// every stock figure the program reads: carico_scarico, disponibilita, scarto_medio, righe.SALDO_ID
// and the four procedures. Quantities travel as text with a point ("12.50").
#include "TestDatabase.h"
#include "data/dmGenerale.h"
#include "db/Firebird.h"

#include <QMap>
#include <QPair>
#include <QTest>
#include <memory>

class StockDb {
public:
    StockDb()
    {
        att.open(files.file(), TdmGenerale::connectParams());
        tr.start();
    }

    // A second desktop on the same database, reading committed data only.
    std::unique_ptr<db::Attachment> openOther() const
    {
        auto other = std::make_unique<db::Attachment>();
        other->open(files.file(), TdmGenerale::connectParams());
        return other;
    }

    void article(int id, const QString &categoria = QStringLiteral("01"))
    {
        db::exec(tr, "INSERT INTO articoli (id, nome, um, categoria, preferito) VALUES (?, ?, 'KG', ?, 1)",
                 {id, QStringLiteral("Articolo %1").arg(id), categoria});
    }
    void document(int id, const char *genere, const QDate &date)
    {
        db::exec(tr, "INSERT INTO documenti (id, genere, data) VALUES (?, ?, ?)",
                 {id, genere, date.isValid() ? QVariant(date) : QVariant()});
    }
    // QUANTITA = QTA_USO + QTA_SCARTO, as the program keeps it.
    void row(int id, int doc, int art, const QString &uso, const QString &scarto = QStringLiteral("0"))
    {
        const db::Decimal u = *db::Decimal::parse(uso), s = *db::Decimal::parse(scarto);
        db::exec(tr, "INSERT INTO righe (id, doc_id, art_id, quantita, qta_uso, qta_scarto) VALUES (?, ?, ?, ?, ?, ?)",
                 {id, doc, art, QVariant::fromValue(u + s), QVariant::fromValue(u), QVariant::fromValue(s)});
    }

    QString key(int rowId) { return db::selectValue(tr, "SELECT saldo_id FROM righe WHERE id = ?", {rowId}).toString(); }

    static QString num(const QVariant &v) { return v.isNull() ? QStringLiteral("NULL") : v.value<db::Decimal>().toString(2); }

    QString saldo(int art, const QString &key)
    {
        return num(db::selectValue(tr, "SELECT saldo FROM \"GetSaldo\"(?, ?)", {art, key}));
    }
    // GetSaldo after the row, as the lists call it.
    QString saldoAfter(int rowId)
    {
        return num(db::selectValue(tr, "SELECT (SELECT saldo FROM \"GetSaldo\"(r.art_id, r.saldo_id)) FROM righe r WHERE r.id = ?", {rowId}));
    }
    QString dispo(int art)
    {
        return num(db::selectValue(tr, QStringLiteral("SELECT SUM (qta_dispo) FROM disponibilita WHERE art_id = %1").arg(art)));
    }
    // CARICO, SCARICO, SALDO joined by blanks.
    QString caricoScarico(int art)
    {
        db::Statement s(tr, "SELECT carico, scarico, saldo FROM carico_scarico WHERE art_id = ?");
        s.setParam(0, art);
        auto rs = s.open();
        QStringList out;
        while (rs->next())
            out << QStringLiteral("%1 %2 %3").arg(num(rs->value(0)), num(rs->value(1)), num(rs->value(2)));
        return out.join(QLatin1Char('|'));
    }
    QString scarto(int art)
    {
        db::Statement s(tr, "SELECT perc_scarto FROM scarto_medio WHERE art_id = ?");
        s.setParam(0, art);
        auto rs = s.open();
        QStringList out;
        while (rs->next())
            out << num(rs->value(0));
        return out.isEmpty() ? QStringLiteral("none") : out.join(QLatin1Char('|'));
    }

    // Rows of a selectable procedure as "id:qty" in the order it gives them.
    QString allocation(const char *procedure, int rowId, db::Transaction *on = nullptr)
    {
        db::Statement s(on ? *on : tr, QStringLiteral("SELECT * FROM \"%1\"(?)").arg(QLatin1String(procedure)));
        s.setParam(0, rowId);
        auto rs = s.open();
        QStringList out;
        while (rs->next())
            out << QStringLiteral("%1:%2").arg(rs->value(0).toInt()).arg(num(rs->value(1)));
        return out.join(QLatin1Char(' '));
    }
    QString produzioni(int loadRow) { return allocation("DaiProduzioni", loadRow); }
    QString forniture(int row) { return allocation("DaiForniture", row); }

    // The usage dates of a load row, asked the way the program asks: a text statement with the
    // row's key in quotes and its quantity written with a point. "inizio fine", NULL when empty.
    QString utilizzo(int loadRow)
    {
        db::Statement s(tr, "SELECT art_id, saldo_id, quantita FROM righe WHERE id = ?");
        s.setParam(0, loadRow);
        auto rs = s.open();
        if (!rs->next())
            return QStringLiteral("no row");
        const QString sql = QStringLiteral("SELECT inizio_utilizzo, fine_utilizzo FROM \"DaiInizioUtilizzo\"(%1, '%2', %3)")
                                .arg(rs->value(0).toInt())
                                .arg(rs->value(1).toString(), num(rs->value(2)));
        db::Statement q(tr, sql);
        auto r = q.open();
        if (!r->next())
            return QStringLiteral("no result");
        auto d = [](const QVariant &v) { return v.isNull() ? QStringLiteral("NULL") : v.toDate().toString(Qt::ISODate); };
        return d(r->value(0)) + QLatin1Char(' ') + d(r->value(1));
    }

    TestDatabase files;
    db::Attachment att;
    db::Transaction tr{att};
};
