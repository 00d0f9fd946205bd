#include "core/calc/Numbers.h"
#include "core/QtTranslation.h"

#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

using namespace korvan;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void rounding_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("d");
        QTest::addColumn<double>("expected");
        // Ties go to the even neighbour as x / 0.01 computes them in double.
        QTest::newRow("0.125 -> 0.12") << 0.125 << 2 << 0.12;
        QTest::newRow("0.375 -> 0.38") << 0.375 << 2 << 0.38;
        QTest::newRow("2.5 d0 -> 2") << 2.5 << 0 << 2.0;
        QTest::newRow("3.5 d0 -> 4") << 3.5 << 0 << 4.0;
        QTest::newRow("-0.125 -> -0.12") << -0.125 << 2 << -0.12;
        QTest::newRow("0.0625 d3 -> 0.062") << 0.0625 << 3 << 0.062;
        QTest::newRow("0.8945 d3 -> 0.894") << 0.8945 << 3 << 0.894;
        QTest::newRow("1.005 is below the tie in binary") << 1.005 << 2 << 1.0;
        QTest::newRow("2.675 -> 2.68") << 2.675 << 2 << 2.68;
        QTest::newRow("plain") << 123.456789 << 2 << 123.46;
    }
    void rounding()
    {
        QFETCH(double, x);
        QFETCH(int, d);
        QFETCH(double, expected);
        QCOMPARE(R(x, d), expected);
    }

    void text_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.3-0.1") << 0.3 - 0.1 << "0,2";
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("fraction") << 0.715 << "0,715";
        QTest::newRow("negative") << -12.5 << "-12,5";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("no group separator") << 1234567.25 << "1234567,25";
        QTest::newRow("15 digits") << 2.0 / 3.0 << "0,666666666666667";
        // Never an exponent: large values whole, small ones in plain decimals.
        QTest::newRow("just below 10^15") << 999999999999999.0 << "999999999999999";
        QTest::newRow("10^15 whole") << 3.52165591005859e15 << "3521655910058590";
        QTest::newRow("negative large") << -2e16 << "-20000000000000000";
        QTest::newRow("largest year's money") << 8.784e18 << "8784000000000000000";
        QTest::newRow("absurd input keeps its exponent") << 1e20 << "1E+20";
        QTest::newRow("10^-4 general") << 0.0001 << "0,0001";
        QTest::newRow("below 10^-4") << 0.0000125 << "0,0000125";
        QTest::newRow("tiny negative") << -3e-9 << "-0,000000003";
        QTest::newRow("below 20 decimals") << 1e-22 << "0";
    }
    void text()
    {
        QFETCH(double, x);
        QFETCH(QString, text);
        QCOMPARE(numberText(x), text);
    }

    void fixedDecimals()
    {
        QCOMPARE(fixedText(5.709, 6), QStringLiteral("5,709000"));
        QCOMPARE(fixedText(2.5e15, 2), QStringLiteral("2500000000000000,00"));
        QCOMPARE(fixedText(-0.001, 2), QStringLiteral("0,00"));
        QCOMPARE(fixedText(-1.5, 1), QStringLiteral("-1,5"));
    }

    void russianPlurals_data()
    {
        QTest::addColumn<double>("n");
        QTest::addColumn<QString>("form");
        QTest::newRow("1") << 1.0 << "год";
        QTest::newRow("2") << 2.0 << "года";
        QTest::newRow("4") << 4.0 << "года";
        QTest::newRow("5") << 5.0 << "лет";
        QTest::newRow("0") << 0.0 << "лет";
        QTest::newRow("11") << 11.0 << "лет";
        QTest::newRow("14") << 14.0 << "лет";
        QTest::newRow("21") << 21.0 << "год";
        QTest::newRow("22") << 22.0 << "года";
        QTest::newRow("111") << 111.0 << "лет";
        QTest::newRow("101") << 101.0 << "год";
        QTest::newRow("fraction") << 0.98 << "года";
        QTest::newRow("1,5") << 1.5 << "года";
    }
    void russianPlurals()
    {
        QFETCH(double, n);
        QFETCH(QString, form);
        QCOMPARE(russianPlural(n, "год", "года", "лет"), form);
    }

    void exactTextReadsBack_data()
    {
        QTest::addColumn<double>("x");
        QTest::newRow("sum with a residue") << 56.300000000000004;
        QTest::newRow("0.1") << 0.1;
        QTest::newRow("third") << 1.0 / 3.0;
        QTest::newRow("large") << 123456789012345678.0;
        QTest::newRow("tiny") << 1e-300;
    }
    void exactTextReadsBack()
    {
        QFETCH(double, x);
        QCOMPARE(parseNumber(exactNumberText(x)).value(), x);
        QVERIFY(!exactNumberText(x).contains('.'));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("eitherDecimal");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "0,715" << false << true << 0.715;
        QTest::newRow("spaces") << "  12 " << false << true << 12.0;
        QTest::newRow("negative") << "-3,5" << false << true << -3.5;
        QTest::newRow("point refused") << "0.92" << false << false << 0.0;
        QTest::newRow("point accepted") << "0.92" << true << true << 0.92;
        QTest::newRow("empty") << "" << false << false << 0.0;
        QTest::newRow("letters") << "12a" << false << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << false << 0.0;
        QTest::newRow("infinity") << "inf" << true << false << 0.0;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, eitherDecimal);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto v = eitherDecimal ? parseEitherDecimal(text) : parseNumber(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    // Qt's own texts (a text field's context menu, standard buttons) speak Russian like the rest.
    void qtTextsInRussian()
    {
        QTranslator translator;
        QVERIFY2(installQtTranslation(translator), "qtbase_ru is missing: scripts/deps installs qt6-translations-l10n");
        const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
        QVERIFY2(undo.contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))), qPrintable(undo));
        QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
