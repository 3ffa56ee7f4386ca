#include "controls/MUVTaRe.h"

#include <gtest/gtest.h>

TEST(Calculator, Smoke)
{
    const TMUVTaReResult r = TMUVTaRe().Evaluate(QStringLiteral("(297 - 2 * 30) / 4"));
    EXPECT_EQ(r.Code, 0);
    EXPECT_DOUBLE_EQ(double(r.Value), 59.25);
}
