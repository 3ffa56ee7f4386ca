#include "platform/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, RoundTripsEveryDefinedByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    const QString u = platform::FromAnsi(all);
    EXPECT_EQ(u.size(), 255);
    EXPECT_EQ(platform::ToAnsi(u), all);
}

TEST(Codepage, MapsWindowsCharacters)
{
    EXPECT_EQ(platform::FromAnsi(std::string("\x80\x84\x93\xE4\xDF")), QString::fromUtf8("€„“äß"));
    EXPECT_EQ(platform::ToAnsi(QString::fromUtf8("Größe 5 €")), std::string("Gr\xF6\xDF"
                                                                            "e 5 \x80"));
    // Outside the code page: a question mark per character, also for surrogate pairs.
    EXPECT_EQ(platform::ToAnsi(QString::fromUtf8("a\u4E2Db\U0001F600c")), std::string("a?b?c"));
}
