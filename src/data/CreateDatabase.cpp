#include "CreateDatabase.h"

#include "ScriptRunner.h"
#include "dmGenerale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void createBrivolaDatabase(const QString &file, const QString &sqlDir, const CreateDatabaseOptions &opts)
{
    const QDir dir(sqlDir);
    QStringList scripts{dir.filePath(QStringLiteral("DB_create.sql"))};
    if (opts.demo)
        scripts << dir.filePath(QStringLiteral("DB_demo.sql"));
    QList<QStringList> contents;
    for (const QString &s : scripts)
        contents << readScriptFile(s); // read everything before creating anything

    if (QFile::exists(file))
        throw db::DbError(QStringLiteral("Il file %1 esiste già").arg(file));

    bool created = false;
    try {
        db::Attachment att;
        att.create(file, TdmGenerale::connectParams());
        created = true;
        db::Transaction tr(att);
        for (int i = 0; i < scripts.size(); ++i) {
            try {
                runScriptLines(tr, contents[i]);
            } catch (const ScriptFailure &f) {
                throw db::DbError(f.error.codes(), QStringLiteral("%1\n\n%2:\n%3")
                                                       .arg(f.error.text(), QFileInfo(scripts[i]).fileName(),
                                                            f.statement.left(500)));
            }
            tr.commitRetaining();
        }
        tr.commit();
        att.close();
    } catch (...) {
        if (created)
            QFile::remove(file);
        throw;
    }
}
