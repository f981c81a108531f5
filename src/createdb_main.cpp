// brivola-createdb FILE [--demo]: creates a new Brivola database for an installation, from the
// scripts of the Sql folder beside this program. --demo adds a demonstration workshop.
#include "data/CreateDatabase.h"
#include "data/ScriptRunner.h"
#include "db/Firebird.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    CreateDatabaseOptions opts;
    opts.demo = args.removeAll(QStringLiteral("--demo")) > 0;
    QString sqlDir = QCoreApplication::applicationDirPath() + QStringLiteral("/Sql");
    const int sqlAt = args.indexOf(QStringLiteral("--sql"));
    if (sqlAt >= 0 && sqlAt + 1 < args.size()) {
        sqlDir = args[sqlAt + 1];
        args.remove(sqlAt, 2);
    }
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        err << "Uso: brivola-createdb FILE [--demo] [--sql CARTELLA]\n";
        return 2;
    }
    int rc = 0;
    try {
        createBrivolaDatabase(QDir::current().absoluteFilePath(args[0]), sqlDir, opts);
        QTextStream(stdout) << "Database creato: " << args[0] << (opts.demo ? " (dati dimostrativi)" : "") << "\n";
    } catch (const db::DbError &e) {
        err << e.text() << "\n";
        rc = 1;
    }
    db::engine::shutdown();
    return rc;
}
