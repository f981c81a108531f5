#pragma once
// The recipe password is never stored in clear: it is enciphered with Twofish, keyed by the
// company's VAT number, and kept as text in codici.PASS_RIC (24 characters at most).
#include <QString>

// The enciphered form of a password: one Twofish block (ECB) over the first 16 bytes of the
// SHA-256 digest of the password's UTF-8 bytes, under a 256-bit key that is the SHA-256 digest
// of the VAT number's UTF-8 bytes, written in base64 - always 24 characters, whatever the length
// of the password. The same password and VAT number always give the same text. The empty password
// gives the empty text, which is what the database holds when no password is set.
// Throws std::runtime_error when the cipher library refuses the work (for instance Twofish
// disabled by a FIPS-mode system).
QString EncipherPassword(const QString &text, const QString &vatNumber);
