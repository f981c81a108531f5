#pragma once
// Checks of the two Italian tax identifiers: the personal tax code (codice fiscale, 16 characters)
// and the VAT number (partita IVA, 11 digits). Both compare capital letters and digits only.
#include <QString>

bool CheckCodiceFiscale(const QString &code);
bool CheckPartitaIva(const QString &vat);
