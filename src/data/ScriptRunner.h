#pragma once
// Runs an SQL script line by line, the way upgrade scripts are written:
//  - the terminator starts as ";"; while it is ";", every line is trimmed of blanks and control
//    characters; under any other terminator lines are taken unchanged;
//  - empty lines are skipped;
//  - "SET TERM x" changes the terminator (the 9th character, or the 10th when the 9th is blank)
//    and is not sent to the server;
//  - a line ending with the terminator closes the statement gathered so far, which runs at once;
//    other lines are gathered; lines after the last terminator never run;
//  - a statement that is just COMMIT commits the transaction with retaining, because Firebird
//    cannot use a table in the transaction that created it.
// Statements reach the server as written: colons in procedure bodies are not parameters.
#include "db/Firebird.h"

#include <QStringList>

struct ScriptFailure {
    QString statement;
    db::DbError error;
};

// Runs the lines on tr. A failing statement stops the run: the failure is thrown as ScriptFailure
// and nothing is committed by the runner (except where the script itself said COMMIT).
void runScriptLines(db::Transaction &tr, const QStringList &lines);

// The statements a script's lines make, in order (for tests and diagnostics).
QStringList scriptStatements(const QStringList &lines);

// Reads a text file as a list of lines (UTF-8); throws db::DbError when it cannot be read.
QStringList readScriptFile(const QString &fileName);
