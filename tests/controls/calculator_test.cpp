// The calculator: results, error codes and the written form of results.
#include "controls/MUVTaRe.h"

#include <gtest/gtest.h>

namespace
{

struct Case {
    const char *expression;
    int code;
    double value; // only for code 0
};

void ExpectCases(std::initializer_list<Case> cases)
{
    const TMUVTaRe calc;
    for (const Case &c : cases) {
        const TMUVTaReResult r = calc.Evaluate(QString::fromUtf8(c.expression));
        EXPECT_EQ(int(r.Code), c.code) << c.expression;
        if (c.code == 0 && r.Code == 0) {
            EXPECT_NEAR(double(r.Value), c.value, 1e-12 * std::max(1.0, std::abs(c.value))) << c.expression;
        }
        if (r.Code != 0) {
            EXPECT_EQ(double(r.Value), 0.0) << c.expression << ": no value with an error";
        }
    }
}

} // namespace

TEST(Calculator, Arithmetic)
{
    ExpectCases({
        {"(297 - 2 * 30) / 4", 0, 59.25},
        {"(297-2*30)/4", 0, 59.25},
        {"2 ^ 10", 0, 1024},
        {"8 / 4 / 2", 0, 1},
        {"8 - 2 - 1", 0, 5},
        {"2 + 3 * 4", 0, 14},
        {"2 * 8 / 4", 0, 4},
        {"2 - 3 + 4 - 5", 0, -2},
        {"10 / 4 * 2", 0, 5},
        {"2 ^ 3 ^ 2", 0, 64}, // powers from left to right
        {"((1 + 2) * (3 + 4)) ^ 2", 0, 441},
        {"42", 0, 42},
        {"(7)", 0, 7},
    });
}

TEST(Calculator, DecimalSeparatorsAndSigns)
{
    ExpectCases({
        {",5 * 2", 0, 1},
        {".5 * 2", 0, 1},
        {"1.5 + 1,5", 0, 3},
        {"1+,5", 0, 1.5},
        {"-,5", 0, -0.5},
        {"(,25)*4", 0, 1},
        {"2.", 0, 2},
        {"-(2 + 3) * 2", 0, -10},
        {"2 * -3", 0, -6},
        {"2 ^ -1", 0, 0.5},
        {"-2 ^ 2", 0, 4},
        {"3 - (2 - 5)", 0, 6},
        {"(0 - 3) - 2", 0, -5},
        {"2 ^ (0 - 1)", 0, 0.5},
        {"-5", 0, -5},
        {"-(-3)", 0, 3}, // a sign before a negative group result
        {"10 * -(2 - 5)", 0, 30},
        {"1.000,5", 8, 0}, // a point is never a thousands separator
        {"1,2,3", 8, 0},
    });
}

TEST(Calculator, ErrorCodes)
{
    ExpectCases({
        {"", 1, 0},
        {"4 / 0", 3, 0},
        {"4 / (2 - 2)", 3, 0},
        {"4 / -0", 3, 0},
        {"abc", 4, 0},
        {"2 x 3", 4, 0},
        {"1E21", 4, 0},
        {"2 + 3 +", 5, 0},
        {"abc+", 5, 0}, // the last character
                        // decides
        {"* 2", 5, 0},
        {"+2", 5, 0},
        {"/2", 5, 0},
        {"2 ** 3", 5, 0},
        {"2 +* 3", 5, 0},
        {"2,", 5, 0},
        {"2 - -3", 6, 0},
        {"2 -", 5, 0},
        {"2 - a", 6, 0},
        {"2(3)", 7, 0},
        {"(2)3", 7, 0},
        {"((2)", 7, 0},
        {"(2))", 7, 0},
        {"()", 8, 0},
        {"2 * ()", 8, 0},
        {"2 ^", 10, 0},
        {"^2", 12, 0},
        {"^2+", 12, 0}, // the first character decides over the last
    });
}

TEST(Calculator, NumbersNeverRunIntoAGroup)
{
    // Without these checks a group's value, written in its place, would join
    // the digits beside it: (2)(3) would read as 23.
    ExpectCases({
        {"(2)(3)", 7, 0},
        {"2 (3)", 7, 0},
        {"(2) 3", 7, 0},
        {"(2),5", 7, 0},
        {"2,(3)", 7, 0},
        {"2)+(3", 7, 0}, // balanced in count, not in order
        {"(2) * (3)", 0, 6},
        {"( 2 )", 0, 2},
    });
}

TEST(Calculator, ResultsWithoutAFiniteValueAreErrors)
{
    ExpectCases({
        {"0 ^ -1", 8, 0},
        {"(0 - 8) ^ (1 / 3)", 8, 0},
        {"5,-3", 8, 0}, // the digits before the sign would be lost
    });
}

TEST(Calculator, LargeAndSmallIntermediateValuesStayExact)
{
    ExpectCases({
        {"(10 ^ 20) * 10", 0, 1e21},
        {"(10 ^ -7) * 10 ^ 7", 0, 1},
        {"(2 ^ 70) / 2 ^ 69", 0, 2},
    });
}

TEST(Calculator, LengthLimit)
{
    QString s = QStringLiteral("1");
    while (s.size() < 255)
        s += QStringLiteral("+1");
    ASSERT_EQ(s.size(), 255);
    TMUVTaReResult r = TMUVTaRe().Evaluate(s);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(double(r.Value), 128);
    s += QStringLiteral(" ");
    r = TMUVTaRe().Evaluate(s);
    EXPECT_EQ(r.Code, 2);
}

TEST(Calculator, ResultClearedBeforeEachEvaluation)
{
    const TMUVTaRe calc;
    TMUVTaReResult r;
    calc.Evaluate(QStringLiteral("4/0"), r);
    EXPECT_EQ(r.Code, 3);
    calc.Evaluate(QStringLiteral("3*3"), r);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(double(r.Value), 9);
    calc.Evaluate(QStringLiteral("2^"), r);
    EXPECT_EQ(r.Code, 10);
    EXPECT_EQ(double(r.Value), 0);
}

TEST(Calculator, Messages)
{
    EXPECT_EQ(TMUVTaRe::Message(3), QStringLiteral("Division durch 0"));
    EXPECT_EQ(TMUVTaRe::Message(4), QStringLiteral("Kein Text erlaubt ! : 0..9 + * / - ()"));
    EXPECT_EQ(TMUVTaRe::Message(5), QStringLiteral("Doppeltes Rechenzeichen"));
    EXPECT_EQ(TMUVTaRe::Message(6), QStringLiteral("Fehlerhafte Minuszeichen"));
    EXPECT_EQ(TMUVTaRe::Message(7), QStringLiteral("Falsche Klammerung !"));
    EXPECT_EQ(TMUVTaRe::Message(8), QStringLiteral("Es ist ein Fehler aufgetreten !"));
    for (int silent : {0, 1, 2, 10, 12})
        EXPECT_TRUE(TMUVTaRe::Message(silent).isEmpty()) << silent;
}

TEST(Calculator, GeneralFormat)
{
    EXPECT_EQ(TMUVTaRe::FormatGeneral(59.25L, QLatin1Char(',')), QStringLiteral("59,25"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(59.25L, QLatin1Char('.')), QStringLiteral("59.25"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(1024.0L, QLatin1Char(',')), QStringLiteral("1024"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(1.0L / 3, QLatin1Char(',')), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(-10.0L, QLatin1Char(',')), QStringLiteral("-10"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(-0.0L, QLatin1Char(',')), QStringLiteral("0"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(0.1L + 0.2L, QLatin1Char('.')), QStringLiteral("0.3"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(1e21L, QLatin1Char(',')), QStringLiteral("1E21"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(1.5e-7L, QLatin1Char(',')), QStringLiteral("1,5E-7"));
    EXPECT_EQ(TMUVTaRe::FormatGeneral(123456789012345.0L, QLatin1Char(',')),
              QStringLiteral("123456789012345"));
}

TEST(Calculator, ParseNumber)
{
    long double v = 0;
    EXPECT_TRUE(TMUVTaRe::ParseNumber(QStringLiteral("-12,5"), v));
    EXPECT_EQ(double(v), -12.5);
    EXPECT_TRUE(TMUVTaRe::ParseNumber(QStringLiteral(",5"), v));
    EXPECT_EQ(double(v), 0.5);
    EXPECT_TRUE(TMUVTaRe::ParseNumber(QStringLiteral("7,"), v));
    EXPECT_EQ(double(v), 7);
    for (const char *bad : {"", "-", ",", "1,2,3", "1-2", "1.5", "1e5", "--1", " 1"})
        EXPECT_FALSE(TMUVTaRe::ParseNumber(QString::fromLatin1(bad), v)) << bad;
}
