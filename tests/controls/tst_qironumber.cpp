// Amount arithmetic of the numeric entry field, as the pages use it without a window.
#include "core/Error.h"
#include "controls/QiroNumber.h"

#include <QtTest>
#include <limits>

using tk::QiroNumber;

class TestQiroNumber : public QObject {
    Q_OBJECT
private slots:
    void formatsWithHalvesAwayFromZero_data();
    void formatsWithHalvesAwayFromZero();
    void roundsToTwoDecimals();
    void readsLastDigitsAsFraction_data();
    void readsLastDigitsAsFraction();
    void reformatsTypedText_data();
    void reformatsTypedText();
    void refusesNonNumbers();
    void displayFormatFollowsDecimals();
};

void TestQiroNumber::formatsWithHalvesAwayFromZero_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("2.5") << 2.5 << 2 << "2,50";
    QTest::newRow("1 234.567") << 1234.567 << 2 << "1.234,57";
    QTest::newRow("-0.125") << -0.125 << 2 << "-0,13";
    // The double of 18 × 0.25 / 100 lies below 0.045; its decimal form does not.
    QTest::newRow("18*0.25/100") << 18 * 0.25 / 100 << 2 << "0,05";
    QTest::newRow("1.005 (double below)") << 1.005 << 2 << "1,01";
    QTest::newRow("2.675 (double below)") << 2.675 << 2 << "2,68";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << 2 << "0,30";
    QTest::newRow("carry into thousands") << 999.995 << 2 << "1.000,00";
    QTest::newRow("millions") << 1234567.891 << 2 << "1.234.567,89";
    QTest::newRow("negative millions") << -1234567.5 << 2 << "-1.234.567,50";
    QTest::newRow("zero") << 0.0 << 2 << "0,00";
    QTest::newRow("tiny negative shows no sign") << -0.001 << 2 << "0,00";
    QTest::newRow("negative half cent") << -0.005 << 2 << "-0,01";
    QTest::newRow("tiny") << 1e-20 << 2 << "0,00";
    QTest::newRow("no decimals, half up") << 1234.5 << 0 << "1.235";
    QTest::newRow("no decimals, negative half") << -2.5 << 0 << "-3";
    QTest::newRow("no decimals, half") << 0.5 << 0 << "1";
    QTest::newRow("whole total") << 1234.0 << 2 << "1.234,00";
    QTest::newRow("three decimals") << 123.4565 << 3 << "123,457";
    QTest::newRow("large") << 1e15 << 2 << "1.000.000.000.000.000,00";
    QTest::newRow("thirteen integer digits") << 1234567890123.45 << 2 << "1.234.567.890.123,45";
}

void TestQiroNumber::formatsWithHalvesAwayFromZero()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(QiroNumber::format(value, decimals), text);
}

void TestQiroNumber::roundsToTwoDecimals()
{
    // Exact comparisons: a page stores what it gets.
    QVERIFY(QiroNumber::round(1234.567) == 1234.57);
    QVERIFY(QiroNumber::round(18 * 0.25 / 100) == 0.05);
    QVERIFY(QiroNumber::round(-0.125) == -0.13);
    QVERIFY(QiroNumber::round(2.5) == 2.5);
    QVERIFY(QiroNumber::round(1.005) == 1.01);
    QVERIFY(QiroNumber::round(-0.004) == 0.0);
    QVERIFY(QiroNumber::round(2.5, 0) == 3.0);
}

void TestQiroNumber::readsLastDigitsAsFraction_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("value");
    QTest::newRow("grouped") << "1.234,56" << 2 << 1234.56;
    QTest::newRow("separator ignored") << "12,5" << 2 << 1.25;
    QTest::newRow("no separator") << "1234" << 2 << 12.34;
    QTest::newRow("fewer digits than decimals") << "5" << 2 << 0.05;
    QTest::newRow("negative short") << "-5" << 2 << -0.05;
    QTest::newRow("leading blanks") << "  12" << 2 << 0.12;
    QTest::newRow("plus sign") << "+7,00" << 2 << 7.0;
    QTest::newRow("no decimals") << "1.234" << 0 << 1234.0;
    QTest::newRow("empty") << "" << 2 << 0.0;
    QTest::newRow("sign only") << "-" << 2 << 0.0;
    QTest::newRow("letters") << "abc" << 2 << 0.0;
    QTest::newRow("trailing blank") << "12 " << 2 << 0.0;
    QTest::newRow("suffix is not a number") << "5,00 TL" << 2 << 0.0;
    QTest::newRow("sign inside") << "1-2" << 2 << 0.0;
}

void TestQiroNumber::readsLastDigitsAsFraction()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(double, value);
    QVERIFY2(QiroNumber::read(text, decimals) == value,
             qPrintable(QString::number(QiroNumber::read(text, decimals), 'g', 17)));
}

void TestQiroNumber::reformatsTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("shown");
    QTest::newRow("inserted digit") << "05,00" << 2 << "5,00";
    QTest::newRow("regrouped") << "1234.567,00" << 2 << "1.234.567,00";
    QTest::newRow("separator moved") << "1.2356" << 2 << "123,56";
    QTest::newRow("negative") << "-053,00" << 2 << "-53,00";
    QTest::newRow("empty, decimals") << "" << 2 << "0,00";
    QTest::newRow("empty, no decimals") << "" << 0 << "0";
    QTest::newRow("minus before the digits") << "-0,00" << 2 << "-0,00";
    QTest::newRow("not a number") << "x" << 2 << "0,00";
    // A typed amount keeps 18 significant digits, the 19th rounds them.
    QTest::newRow("eighteen digits kept") << "123456789012345678" << 0 << "123.456.789.012.345.678";
    QTest::newRow("nineteenth rounds") << "1234567890123456789" << 0 << "1.234.567.890.123.456.790";
}

void TestQiroNumber::reformatsTypedText()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(QString, shown);
    QCOMPARE(QiroNumber::reformat(text, decimals), shown);
}

void TestQiroNumber::refusesNonNumbers()
{
    QVERIFY_THROWS_EXCEPTION(tk::Error, QiroNumber::format(std::numeric_limits<double>::infinity(), 2));
    QVERIFY_THROWS_EXCEPTION(tk::Error, QiroNumber::format(std::numeric_limits<double>::quiet_NaN(), 2));
}

void TestQiroNumber::displayFormatFollowsDecimals()
{
    QCOMPARE(QiroNumber::displayFormat(0), QStringLiteral("#,##0"));
    QCOMPARE(QiroNumber::displayFormat(2), QStringLiteral("#,##0.00"));
    QCOMPARE(QiroNumber::displayFormat(3), QStringLiteral("#,##0.000"));
}

QTEST_MAIN(TestQiroNumber)
#include "tst_qironumber.moc"
