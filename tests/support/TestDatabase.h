#pragma once
// A fresh database for each fixture: the creation scripts run once per test program into a
// template file, which every fixture copies into its own temporary folder.
#include <QString>
#include <QTemporaryDir>

class TestDatabase {
public:
    // demo: start from the demonstration data set instead of an empty installation.
    explicit TestDatabase(bool demo = false);
    ~TestDatabase();

    // The temporary folder (ends with "/"), usable as a program folder, and the database in it.
    QString folder() const;
    QString file() const { return folder() + QStringLiteral("db.fdb"); }

    // The folder of the project's SQL scripts.
    static QString sqlDir();

private:
    QTemporaryDir dir_;
};
