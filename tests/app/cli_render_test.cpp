#include "testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace
{
const QString kBinders = QStringLiteral(DORLIX_SOURCE_DIR "/examples/ordner-4-spalten.rsd");
} // namespace

// The page of the binder example at 100 dpi: A4 landscape, the first field's
// orange fill 30 mm from the left, the column fill of the last column only
// with the background layer.
TEST(CliRender, DrawsThePageAtTheRequestedResolution)
{
    TempProgramFolder dir;
    const QString out = dir.File("seite.png");
    QByteArray err;
    ASSERT_EQ(CliExitCode({"render", kBinders, out, "--dpi", "100"}, &err), 0) << err.toStdString();
    const QImage img(out);
    ASSERT_FALSE(img.isNull());
    EXPECT_NEAR(img.width(), 297 / 25.4 * 100, 2);
    EXPECT_NEAR(img.height(), 210 / 25.4 * 100, 2);
    const auto px = [&](double xMm, double yMm) {
        return img.pixel(int(xMm / 25.4 * 100), int(yMm / 25.4 * 100));
    };
    EXPECT_EQ(px(35, 30), qRgb(255, 165, 0));    // field fill 0x00A5FF
    EXPECT_EQ(px(235, 12), qRgb(240, 240, 240)); // column 3's own fill, above its field
    EXPECT_EQ(px(5, 5), qRgb(255, 255, 255));

    const QString bare = dir.File("ohne.png");
    ASSERT_EQ(CliExitCode({"render", kBinders, bare, "--dpi", "100", "--no-background"}), 0);
    const QImage img2(bare);
    EXPECT_EQ(img2.pixel(int(235 / 25.4 * 100), int(12 / 25.4 * 100)), qRgb(255, 255, 255));
    EXPECT_EQ(img2.pixel(int(35 / 25.4 * 100), int(30 / 25.4 * 100)), qRgb(255, 165, 0));
}

TEST(CliRender, RefusesBadArguments)
{
    TempProgramFolder dir;
    QByteArray err;
    EXPECT_EQ(CliExitCode({"render", kBinders}, &err), 2);
    EXPECT_EQ(CliExitCode({"render", kBinders, dir.File("a.png"), "--dpi", "0"}, &err), 2);
    EXPECT_TRUE(err.contains("Auflösung"));
    EXPECT_EQ(CliExitCode({"render", dir.File("fehlt.rsd"), dir.File("a.png")}, &err), 2);
    EXPECT_TRUE(err.contains("nicht gefunden"));
}
