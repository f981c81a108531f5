// The two tax-identifier checks as tables of cases.
#include "data/Fiscale.h"

#include <QTest>

class TstFiscale : public QObject {
    Q_OBJECT
private slots:
    void partitaIva_data()
    {
        QTest::addColumn<QString>("vat");
        QTest::addColumn<bool>("valid");
        QTest::newRow("check sum 33, digit 7") << "12345670017" << true;
        QTest::newRow("wrong check digit") << "12345670018" << false;
        QTest::newRow("office 000") << "12345670009" << false;
        QTest::newRow("office 122") << "12345671221" << false;
        QTest::newRow("office 121") << "12345671213" << true;
        QTest::newRow("office 999") << "12345679992" << true;
        QTest::newRow("first seven digits zero") << "00000000000" << false;
        QTest::newRow("first seven zero, office 001") << "00000000011" << false;
        QTest::newRow("sum multiple of ten gives 0") << "12345640010" << true;
        QTest::newRow("real company number") << "00743110157" << true;
        QTest::newRow("ten digits") << "1234567001" << false;
        QTest::newRow("twelve digits") << "123456700170" << false;
        QTest::newRow("a letter") << "1234567A017" << false;
        QTest::newRow("blank") << "12345 70017" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("demo workshop") << "03764180364" << true;
        QTest::newRow("published example") << "02839750995" << true;
    }
    void partitaIva()
    {
        QFETCH(QString, vat);
        QFETCH(bool, valid);
        QCOMPARE(CheckPartitaIva(vat), valid);
    }

    void codiceFiscale_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("valid");
        QTest::newRow("check sum 8, letter I") << "AAAAAA00A00A000I" << true;
        QTest::newRow("wrong check letter") << "AAAAAA00A00A000J" << false;
        QTest::newRow("F is not a month") << "AAAAAA00F00A000I" << false;
        QTest::newRow("published example Rossi") << "RSSMRA85T10A562S" << true;
        QTest::newRow("published example Mattei") << "MRTMTT25D09F205Z" << true;
        QTest::newRow("lower case") << "rssmra85t10a562s" << false;
        QTest::newRow("fifteen characters") << "RSSMRA85T10A562" << false;
        QTest::newRow("seventeen characters") << "RSSMRA85T10A562SS" << false;
        QTest::newRow("letter in position 7 (homonym code)") << "RSSMRAL5T10A562S" << false;
        QTest::newRow("digit in position 12") << "RSSMRA85T1005620" << false;
        QTest::newRow("digit in a name place") << "RSSMR185T10A562S" << false;
        QTest::newRow("empty") << "" << false;
    }
    void codiceFiscale()
    {
        QFETCH(QString, code);
        QFETCH(bool, valid);
        QCOMPARE(CheckCodiceFiscale(code), valid);
    }
};

QTEST_GUILESS_MAIN(TstFiscale)
#include "tst_fiscale.moc"
