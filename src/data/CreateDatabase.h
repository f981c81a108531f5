#pragma once
// Creating a new Brivola database: the file (dialect 3, character set WIN1252), then the creation
// script "DB_create.sql" and, for a demonstration installation, "DB_demo.sql", both from sqlDir and
// both run by the same script runner as the upgrades.
#include <QString>

struct CreateDatabaseOptions {
    bool demo = false;
};

// Throws db::DbError (or ScriptFailure turned into a DbError naming the statement) on failure;
// a half-created file is removed.
void createBrivolaDatabase(const QString &file, const QString &sqlDir, const CreateDatabaseOptions &opts = {});
