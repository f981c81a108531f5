#include "Fiscale.h"

namespace {

// The published tables of the tax code's check character.
const char *const OddLetters = "BAKPLCQDREVOSFTGUHMINJWZYX";
const char *const OddDigits = "10   2 3 4   5 6 7 8 9";
const char *const MonthLetters = "ABCDEHLMPRST";

bool isCapital(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int oddValue(QChar c)
{
    const char ch = char(c.unicode());
    const char *table = isCapital(c) ? OddLetters : OddDigits;
    for (int i = 0; table[i]; ++i)
        if (table[i] == ch)
            return i;
    return 0;
}

int evenValue(QChar c) { return isCapital(c) ? c.unicode() - 'A' : c.unicode() - '0'; }

} // namespace

bool CheckCodiceFiscale(const QString &code)
{
    if (code.size() != 16)
        return false;
    // Positions counted from 1: letters 1-6 and 12, a month letter at 9, digits at 7, 8, 10, 11, 13-15.
    for (int p = 1; p <= 15; ++p) {
        const QChar c = code[p - 1];
        if (p <= 6 || p == 12) {
            if (!isCapital(c))
                return false;
        } else if (p == 9) {
            if (!isCapital(c) || !QByteArray(MonthLetters).contains(char(c.unicode())))
                return false;
        } else if (!isDigit(c)) {
            return false;
        }
    }
    int sum = 0;
    for (int p = 1; p <= 15; ++p)
        sum += (p % 2 == 1) ? oddValue(code[p - 1]) : evenValue(code[p - 1]);
    return code[15] == QChar(QLatin1Char(char('A' + sum % 26)));
}

bool CheckPartitaIva(const QString &vat)
{
    if (vat.size() != 11)
        return false;
    for (QChar c : vat)
        if (!isDigit(c))
            return false;
    if (vat.left(7).toInt() == 0)
        return false;
    const int office = vat.mid(7, 3).toInt();
    if (!((office >= 1 && office <= 121) || office == 999))
        return false;
    int sum = 0;
    for (int p = 1; p <= 9; p += 2) {
        sum += vat[p - 1].digitValue();
        const int d = vat[p].digitValue();
        sum += d < 5 ? 2 * d : 2 * d - 9;
    }
    int check = 10 - sum % 10;
    if (check == 10)
        check = 0;
    return vat[10].digitValue() == check;
}
