#include "ScriptRunner.h"

#include <QFile>
#include <functional>

namespace {

// Delphi's Trim: blanks and control characters at both ends.
QString trimControl(const QString &s)
{
    int b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= ' ')
        --e;
    return s.mid(b, e - b);
}

void forEachStatement(const QStringList &lines, const std::function<void(const QString &)> &run)
{
    QChar term = QLatin1Char(';');
    QStringList gathered;
    for (const QString &raw : lines) {
        const QString line = term == QLatin1Char(';') ? trimControl(raw) : raw;
        if (line.isEmpty())
            continue;
        if (line.left(8).toUpper() == QLatin1String("SET TERM")) {
            if (line.size() > 8 && line[8] != QLatin1Char(' '))
                term = line[8];
            else if (line.size() > 9 && line[9] != QLatin1Char(' '))
                term = line[9];
            continue;
        }
        if (line.back() != term) {
            gathered << line;
            continue;
        }
        gathered << line.left(line.size() - 1);
        const QString statement = gathered.join(QLatin1Char('\n'));
        gathered.clear();
        run(statement);
    }
}

bool isCommit(const QString &statement)
{
    const QString s = statement.simplified().toUpper();
    return s == QLatin1String("COMMIT") || s == QLatin1String("COMMIT WORK");
}

} // namespace

QStringList scriptStatements(const QStringList &lines)
{
    QStringList out;
    forEachStatement(lines, [&](const QString &s) { out << s; });
    return out;
}

void runScriptLines(db::Transaction &tr, const QStringList &lines)
{
    forEachStatement(lines, [&](const QString &statement) {
        try {
            if (isCommit(statement)) {
                tr.ensureStarted();
                tr.commitRetaining();
            } else {
                tr.attachment().executeImmediate(tr, statement);
            }
        } catch (const db::DbError &e) {
            throw ScriptFailure{statement, e};
        }
    });
}

QStringList readScriptFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw db::DbError(QStringLiteral("Impossibile leggere il file %1").arg(fileName));
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}
