#include "db/Decimal.h"

#include <QTest>

using db::Decimal;

class TstDecimal : public QObject {
    Q_OBJECT
private slots:
    void parseAndPrint_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("integer") << "12" << "12.0000";
        QTest::newRow("comma decimal") << "12,5" << "12.5000";
        QTest::newRow("point decimal alone") << "12.5" << "12.5000";
        QTest::newRow("italian thousands") << "1.234,56" << "1234.5600";
        QTest::newRow("negative") << "-0,25" << "-0.2500";
        QTest::newRow("fifth place rounds half to even down") << "0,00005" << "0.0000";
        QTest::newRow("fifth place rounds half to even up") << "0,00015" << "0.0002";
        QTest::newRow("beyond half") << "0,000051" << "0.0001";
        QTest::newRow("blanks") << "  7 " << "7.0000";
    }
    void parseAndPrint()
    {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        auto d = Decimal::parse(text);
        QVERIFY(d.has_value());
        QCOMPARE(d->toString(), plain);
    }
    void parseRejects()
    {
        for (const char *bad : {"", "abc", "1,2,3", "1.2.3", "-", "12a"})
            QVERIFY2(!Decimal::parse(QString::fromLatin1(bad)).has_value(), bad);
    }
    void arithmeticRoundsHalfToEven_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("result");
        QTest::newRow("product exact") << "1.5" << "*" << "2.25" << "3.3750";
        QTest::newRow("product half even down") << "0.0001" << "*" << "0.5" << "0.0000";
        QTest::newRow("product half even up") << "0.0003" << "*" << "0.5" << "0.0002";
        QTest::newRow("quotient") << "1" << "/" << "3" << "0.3333";
        QTest::newRow("quotient half") << "0.0001" << "/" << "2" << "0.0000";
        QTest::newRow("negative quotient") << "-2" << "/" << "3" << "-0.6667";
        QTest::newRow("sum") << "0.1" << "+" << "0.2" << "0.3000";
    }
    void arithmeticRoundsHalfToEven()
    {
        QFETCH(QString, a);
        QFETCH(QString, op);
        QFETCH(QString, b);
        QFETCH(QString, result);
        const Decimal x = *Decimal::parse(a), y = *Decimal::parse(b);
        const Decimal r = op == "*" ? x * y : op == "/" ? x / y : x + y;
        QCOMPARE(r.toString(), result);
    }
    void rounding()
    {
        QCOMPARE(Decimal::parse("2.345")->round(2).toString(2), QString("2.34"));
        QCOMPARE(Decimal::parse("2.355")->round(2).toString(2), QString("2.36"));
        QCOMPARE(Decimal::parse("2.345")->roundHalfUp(2).toString(2), QString("2.35"));
        QCOMPARE(Decimal::parse("-2.345")->roundHalfUp(2).toString(2), QString("-2.35"));
        QCOMPARE(Decimal::parse("1000.5")->roundHalfUp(0).toString(0), QString("1001"));
    }
    void scaledConversion()
    {
        // NUMERIC(9,2) 12.34 is the integer 1234 with scale -2, and back.
        QCOMPARE(Decimal::fromScaled(1234, -2).toString(), QString("12.3400"));
        QCOMPARE(Decimal::parse("12.345")->toScaled(-2), qint64(1234));
        QCOMPARE(Decimal::parse("12.355")->toScaled(-2), qint64(1236));
        QCOMPARE(Decimal::fromScaled(123456, -6).toString(), QString("0.1235"));
        QCOMPARE(Decimal::parse("1.5")->toScaled(-6), qint64(1500000));
    }
    void divisionByZeroThrows() { QVERIFY_THROWS_EXCEPTION(std::domain_error, Decimal(1) / Decimal(0)); }
};

QTEST_GUILESS_MAIN(TstDecimal)
#include "tst_decimal.moc"
