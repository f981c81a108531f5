#include "TestDatabase.h"

#include "data/CreateDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <map>
#include <memory>

namespace {

// One template per process and kind, removed when the test program ends.
QString templateFile(bool demo)
{
    static std::map<bool, std::unique_ptr<QTemporaryDir>> dirs;
    auto &d = dirs[demo];
    if (!d) {
        d = std::make_unique<QTemporaryDir>();
        CreateDatabaseOptions opts;
        opts.demo = demo;
        createBrivolaDatabase(d->filePath(QStringLiteral("template.fdb")), TestDatabase::sqlDir(), opts);
    }
    return d->filePath(QStringLiteral("template.fdb"));
}

} // namespace

TestDatabase::TestDatabase(bool demo)
{
    const QString src = templateFile(demo);
    if (!QFile::copy(src, file()))
        qFatal("cannot copy the template database");
    QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::folder() const { return dir_.path() + QLatin1Char('/'); }

QString TestDatabase::sqlDir() { return QStringLiteral(BRIVOLA_SQL_DIR); }
