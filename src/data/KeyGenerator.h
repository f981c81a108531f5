#pragma once
// New record keys from the counters of the one-row table keygen, each taken and committed at once
// on its own transaction, so that a key is never held until the user saves. The counter steps in
// one statement (an UPDATE that returns the new value), so two desktops can never read the same
// value. When another connection holds the row, three attempts 100 ms apart are made; then the
// caller is asked whether to go on trying.
#include "db/Firebird.h"

#include <functional>

// The counters that exist: "ANAGRAFICA", "ARTICOLI", "DOCUMENTI", "RIGHE".
bool isKeyCounter(const QString &counter);

// Takes the next key of counter on tr (which must not be in use for anything else). askRetry is
// called after three failed attempts in a row; false abandons (db::Abort is thrown). Other database
// errors are thrown as they are, with tr rolled back.
qint64 takeNewKey(db::Transaction &tr, const QString &counter, const std::function<bool()> &askRetry);
