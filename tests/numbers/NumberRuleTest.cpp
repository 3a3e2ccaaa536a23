// The one rule for what a typed text means as a number.
#include <QtTest>

#include <bit>
#include <cfloat>

#include "numbers/NumberRule.h"

class NumberRuleTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void singles_data();
    void singles();
    void panelCounts_data();
    void panelCounts();
};

void NumberRuleTest::texts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");

    const struct {
        const char* locale;
        const char* text;
        bool number;
    } rows[] = {
        {"C", "12", true},          {"C", "1.", true},          {"C", "1.2", true},        {"C", "-1.2", true},
        {"C", "+3", true},          {"C", ".5", true},          {"C", " 6 ", true},        {"C", "\t7\t", true},
        {"C", "1e5", true},         {"C", "1E-5", true},        {"C", "2.5e+3", true},     {"C", "1e400", true},
        {"C", "1e-400", true},      {"C", "1e99999999999999999999", true},
        {"C", "", false},           {"C", "-", false},          {"C", "+", false},         {"C", ".", false},
        {"C", "12a", false},        {"C", "1,5", false},        {"C", "1,500", false},     {"C", "1 000", false},
        {"C", "inf", false},        {"C", "nan", false},        {"C", "0x10", false},      {"C", "1e", false},
        {"de_DE", "1,5", true},     {"de_DE", "-0,25", true},   {"de_DE", " 1,5 ", true},  {"de_DE", "1,", true},
        {"de_DE", "1.5", false},    {"de_DE", "1.500", false},  {"de_DE", "1.500,5", false}, {"de_DE", ",", false},
        {"de_DE", "1E5", true},     {"de_DE", "unendlich", false}, {"de_DE", "inf", false},
    };
    for (const auto& row : rows)
        QTest::addRow("%s '%s'", row.locale, row.text) << QString::fromUtf8(row.locale) << QString::fromUtf8(row.text)
                                                       << row.number;
}

void NumberRuleTest::texts()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QCOMPARE(numberRule::isNumber(text, QLocale(locale)), isNumber);
}

void NumberRuleTest::singles_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<quint32>("bits");

    const auto ok = static_cast<int>(numberRule::Conversion::Ok);
    const auto out = static_cast<int>(numberRule::Conversion::OutOfRange);
    const auto empty = static_cast<int>(numberRule::Conversion::Empty);
    const auto bitsOf = [](float f) { return std::bit_cast<quint32>(f); };
    QTest::newRow("205") << "C" << "205" << ok << bitsOf(205.0f);
    QTest::newRow("1.2") << "C" << "1.2" << ok << 0x3f99999au;
    QTest::newRow("7.7") << "C" << "7.7" << ok << bitsOf(7.7f);
    QTest::newRow("0,1 decimal comma") << "de_DE" << "0,1" << ok << bitsOf(0.1f);
    QTest::newRow("-2,5E3 decimal comma") << "de_DE" << "-2,5E3" << ok << bitsOf(-2500.0f);
    QTest::newRow("largest Single") << "C" << "3.4028235e38" << ok << bitsOf(FLT_MAX);
    QTest::newRow("beyond Single") << "C" << "3.5e38" << out << 0u;
    QTest::newRow("far beyond Single, negative") << "C" << "-1e300" << out << 0u;
    QTest::newRow("beyond double") << "C" << "1e400" << out << 0u;
    QTest::newRow("subnormal") << "C" << "1e-40" << ok << 0x000116c2u;
    QTest::newRow("underflow to zero") << "C" << "1e-50" << ok << 0u;
    QTest::newRow("underflow to minus zero") << "C" << "-1e-50" << ok << 0x80000000u;
    QTest::newRow("below double to minus zero") << "C" << "-1e-400" << ok << 0x80000000u;
    // Nearer to 1 + 2^-23 than to 1, though the nearest double is the
    // midpoint: rounding twice would give 1.
    QTest::newRow("no double rounding") << "C" << "1.00000005960464477539062500001" << ok << 0x3f800001u;
    QTest::newRow("empty") << "C" << "" << empty << 0u;
    QTest::newRow("blanks") << "C" << "  " << empty << 0u;
}

void NumberRuleTest::singles()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(quint32, bits);
    const numberRule::SingleResult result = numberRule::toSingle(text, QLocale(locale));
    QCOMPARE(static_cast<int>(result.status), status);
    if (result.status == numberRule::Conversion::Ok)
        QCOMPARE(std::bit_cast<quint32>(result.value), bits);
}

void NumberRuleTest::panelCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("value");
    const auto ok = static_cast<int>(numberRule::Conversion::Ok);
    const auto out = static_cast<int>(numberRule::Conversion::OutOfRange);
    QTest::newRow("7") << "7" << ok << 7;
    QTest::newRow("7.5 to even") << "7.5" << ok << 8;
    QTest::newRow("6.5 to even") << "6.5" << ok << 6;
    QTest::newRow("2.5 to even") << "2.5" << ok << 2;
    QTest::newRow("6.51") << "6.51" << ok << 7;
    // A double holds neither: it would give the tie 6.5 and 7.5.
    QTest::newRow("just beyond 6.5") << "6.5000000000000000001" << ok << 7;
    QTest::newRow("just below 7.5") << "7.4999999999999999999" << ok << 7;
    QTest::newRow("1e-400") << "1e-400" << ok << 0;
    QTest::newRow("1e400") << "1e400" << out << 0;
    QTest::newRow("-0.5") << "-0.5" << ok << 0;
    QTest::newRow("32767") << "32767" << ok << 32767;
    QTest::newRow("32767.5") << "32767.5" << out << 0;
    QTest::newRow("-32768") << "-32768" << ok << -32768;
    QTest::newRow("-32768.6") << "-32768.6" << out << 0;
    QTest::newRow("1e5") << "1e5" << out << 0;
    QTest::newRow("empty") << "" << static_cast<int>(numberRule::Conversion::Empty) << 0;
}

void NumberRuleTest::panelCounts()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(int, value);
    const numberRule::IntegerResult result = numberRule::toInteger(text, QLocale::c());
    QCOMPARE(static_cast<int>(result.status), status);
    if (result.status == numberRule::Conversion::Ok)
        QCOMPARE(int{result.value}, value);
}

QTEST_GUILESS_MAIN(NumberRuleTest)
#include "NumberRuleTest.moc"
