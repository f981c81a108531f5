#include "KeyGenerator.h"

#include <QThread>

bool isKeyCounter(const QString &counter)
{
    static const QStringList names{QStringLiteral("ANAGRAFICA"), QStringLiteral("ARTICOLI"),
                                   QStringLiteral("DOCUMENTI"), QStringLiteral("RIGHE")};
    return names.contains(counter.toUpper());
}

qint64 takeNewKey(db::Transaction &tr, const QString &counter, const std::function<bool()> &askRetry)
{
    if (!isKeyCounter(counter))
        throw db::DbError(QStringLiteral("Contatore sconosciuto: %1").arg(counter));
    const QString c = counter.toUpper();
    const QString sql = QStringLiteral("UPDATE keygen SET %1 = COALESCE(%1, 0) + 1 RETURNING %1").arg(c);
    for (;;) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            try {
                tr.start();
                db::Statement st(tr, sql, false);
                st.execute();
                const QVariant key = st.value(0);
                if (key.isNull())
                    throw db::DbError(QStringLiteral("La tabella keygen non ha la sua riga"));
                tr.commit();
                return key.toLongLong();
            } catch (const db::DbError &e) {
                try {
                    tr.rollback();
                } catch (const db::DbError &) {
                    tr.detachHandle();
                }
                if (!e.isLockConflict())
                    throw;
                QThread::msleep(100);
            }
        }
        if (!askRetry())
            throw db::Abort();
    }
}
