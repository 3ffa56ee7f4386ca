// "Optimierte Textbreite": text heights fitted to the width between the
// border lines, measured on the composed page.
#include "app/mainwindow.h"
#include "app/textwidth.h"
#include "model/undobj.h"
#include "platform/printer.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

TEST(TextWidthFit, HeightScalesByTargetOverDrawnWidth)
{
    EXPECT_DOUBLE_EQ(TextWidthTarget(61, 4), 57);
    EXPECT_DOUBLE_EQ(*FittedFontHeight(8, 38, 57), 12);
    EXPECT_DOUBLE_EQ(*FittedFontHeight(8, 114, 57), 4); // long texts shrink
    // Nothing to divide by, no room, or nothing sensible to scale.
    EXPECT_FALSE(FittedFontHeight(8, 0, 57));
    EXPECT_FALSE(FittedFontHeight(8, -3, 57));
    EXPECT_FALSE(FittedFontHeight(8, std::nan(""), 57));
    EXPECT_FALSE(FittedFontHeight(8, 38, 0));
    EXPECT_FALSE(FittedFontHeight(8, 38, -2));
    EXPECT_FALSE(FittedFontHeight(0, 38, 57));
    EXPECT_FALSE(FittedFontHeight(8, 1e-320, 57)); // would overflow
}

TEST(TextWidthFit, AllWidthsAreReadBeforeAnyHeightChanges)
{
    TRS sheet;
    sheet.SetLayout(2, 2, 297, 210, 26, 26, 9, 9, 0, 4, clYellow);
    int asked = 0;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r)
            sheet.GetField(c, r)->Kind = 1;
    sheet.GetField(1, 1)->Kind = 2;
    const int changed = FitTextWidths(sheet, TTextFitScope::Sheet, 0, 0, [&](const TRSObject &f, int, int) {
        ++asked;
        // A width read after a change would see a height other than 8.
        EXPECT_EQ(f.FontHeight, 8);
        return std::optional<double>(50);
    });
    EXPECT_EQ(asked, 3); // the picture field is not measured
    EXPECT_EQ(changed, 3);
    const double t = sheet.ColumnWidth - 4;
    EXPECT_DOUBLE_EQ(sheet.GetField(0, 0)->FontHeight, 8 * t / 50);
    EXPECT_EQ(sheet.GetField(1, 1)->FontHeight, 8);

    // A point outside every column fits nothing.
    EXPECT_EQ(FitTextWidths(sheet, TTextFitScope::Column, 5, 5,
                            [](const TRSObject &, int, int) { return std::optional<double>(1); }),
              0);
}

namespace
{

class TextWidthCommands : public ::testing::Test
{
  protected:
    TextWidthCommands()
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        const QString data = QDir(program.Path()).filePath("daten");
        QDir().mkpath(data);
        QFile f(program.File("dorlix.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[Pfad]\nDaten=" + data + "\n").toUtf8());
        f.close();
        w = std::make_unique<TForm1>();
        w->resize(1200, 900);
        w->FormShow();
        // Four 61-mm columns with 4 mm spacing, six rows, as a composed page.
        sheet().SetLayout(4, 6, 297, 210, 26.5, 26.5, 9, 9, 0, 4, clYellow);
        w->Document().LineFactor = 1.0;
        w->DPaintbox1()->setVisible(true);
        w->Document().Commit(false);
    }
    TRS &sheet() { return w->Sheet(); }
    TRSObject &text(int c, int r, const std::string &t, double height = 8, double angle = 0)
    {
        TRSObject &f = *sheet().GetField(c, r);
        f.Kind = 1;
        f.Visible = true;
        f.Text = t;
        f.FontHeight = height;
        f.Angle = angle;
        return f;
    }
    double drawnWidth(const TRSObject &f)
    {
        for (int c = 0; c < sheet().ColumnCount; ++c)
            for (int r = 0; r < sheet().RowCount; ++r)
                if (sheet().GetField(c, r) == &f) {
                    canvas::ElementInfo info;
                    EXPECT_TRUE(w->Document().FieldElementInfo(c, r, info));
                    return info.width;
                }
        ADD_FAILURE() << "no such field";
        return 0;
    }
    // Drawn again after fitting, a text spans the target as closely as the
    // whole screen pixels of its font allow.
    static void expectSpans(double drawn, double target, double height)
    {
        const double pixels = height * 96 / 25.4;
        EXPECT_NEAR(drawn, target, target / pixels) << "at " << height << " mm";
    }
    void pointAt(const TRSObject &f)
    {
        w->CursorX = f.CenterX;
        w->CursorY = f.CenterY;
    }

    TempDesktopHome home;
    TempProgramFolder program;
    MessageCapture messages;
    std::unique_ptr<TForm1> w;
};

} // namespace

TEST_F(TextWidthCommands, OneFieldGrowsOrShrinksToTheWidthBetweenItsLines)
{
    TRSObject &a = text(0, 0, "Ordner");
    TRSObject &b = text(0, 1, "Ordner");
    TRSObject &c = text(1, 0, "Rechnungen und Belege des Jahres 2026");
    w->Document().Commit(false);
    const double wa = drawnWidth(a), wc = drawnWidth(c);
    ASSERT_GT(wa, 0);
    ASSERT_GT(wc, 57);
    const int current = w->Undo()->Current;

    pointAt(a);
    w->pm_el_FeldoptClick();
    EXPECT_DOUBLE_EQ(a.FontHeight, 8 * 57 / wa);
    EXPECT_EQ(b.FontHeight, 8); // only the field at the point
    EXPECT_EQ(w->Undo()->Current, current + 1);
    // Drawn again, the text spans the 57 mm.
    expectSpans(drawnWidth(a), 57, a.FontHeight);

    pointAt(c);
    w->pm_el_FeldoptClick();
    EXPECT_LT(c.FontHeight, 8);
    expectSpans(drawnWidth(c), 57, c.FontHeight);
}

TEST_F(TextWidthCommands, RotatedAndMultiLineTextsFitByTheirDrawnBox)
{
    // Upright: the rotated box is as wide as the line stack.
    TRSObject &up = text(0, 0, "Steuer", 8, 90);
    TRSObject &up2 = text(0, 1, "Steuer\r\n2026", 8, 90);
    // Several lines: the widest one counts.
    TRSObject &lines = text(0, 2, "A\r\nRechnungen");
    TRSObject &slanted = text(0, 3, "Schr\xE4g", 6, 30);
    w->Document().Commit(false);
    const double wLines = drawnWidth(lines), wSlanted = drawnWidth(slanted);
    pointAt(up);
    w->pm_el_spoptClick();
    EXPECT_NEAR(up.FontHeight, 57, 1e-9);
    EXPECT_NEAR(up2.FontHeight, 57.0 / 2, 1e-9); // two lines at factor 1
    EXPECT_DOUBLE_EQ(lines.FontHeight, 8 * 57 / wLines);
    EXPECT_DOUBLE_EQ(slanted.FontHeight, 6 * 57 / wSlanted);
    expectSpans(drawnWidth(lines), 57, lines.FontHeight);
    expectSpans(drawnWidth(slanted), 57, slanted.FontHeight);
}

TEST_F(TextWidthCommands, FieldsWithoutTheirOwnTextAreLeftAlone)
{
    TRSObject &first = text(0, 0, "Erster");
    TRSObject &hidden = text(0, 1, "Versteckt");
    TRSObject &emptied = text(0, 2, "Leer");
    TRSObject &blankLines = text(0, 3, "\r\n");
    TRSObject &picture = *sheet().GetField(0, 4);
    picture.Kind = 2;
    picture.Visible = true;
    picture.FontHeight = 7;
    w->Document().Commit(false);
    // Fields that had a text element and have none now.
    hidden.Visible = false;
    emptied.Text.clear();
    w->Document().Commit(false);
    text(1, 0, "Sp\xE4ter");
    w->Document().Commit(false);
    EXPECT_EQ(w->Document().FieldElement(0, 1), -1);
    EXPECT_EQ(w->Document().FieldElement(0, 2), -1);

    w->pm_el_allOptClick();
    EXPECT_EQ(hidden.FontHeight, 8);
    EXPECT_EQ(emptied.FontHeight, 8);
    EXPECT_EQ(blankLines.FontHeight, 8); // drawn without width
    EXPECT_EQ(picture.FontHeight, 7);
    EXPECT_NE(first.FontHeight, 8);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 6; ++r)
            EXPECT_TRUE(std::isfinite(sheet().GetField(c, r)->FontHeight));
}

TEST_F(TextWidthCommands, EveryCommandLeavesAnUndoStepEvenWhenNothingWasScaled)
{
    w->Document().Commit(false);
    sheet().Modified = false;
    const int current = w->Undo()->Current;
    w->CursorX = 1; // outside every column
    w->CursorY = 1;
    w->pm_el_FeldoptClick();
    w->pm_el_spoptClick();
    w->pm_el_allOptClick();
    EXPECT_EQ(w->Undo()->Current, current + 3);
    EXPECT_TRUE(sheet().Modified);

    // Undo takes back one fitting.
    TRSObject &a = text(2, 2,
                        "Zur\xFC"
                        "ck");
    w->Document().Commit(false);
    pointAt(a);
    w->pm_el_Feldopt()->trigger();
    const double fitted = a.FontHeight;
    ASSERT_NE(fitted, 8);
    w->pm_el_allOpt()->trigger();
    w->btn_undoClick();
    EXPECT_EQ(sheet().GetField(2, 2)->FontHeight, fitted);
    EXPECT_EQ(w->pm_el_spopt()->text(), "Optimierte Textbreite für diese Spalte");
}
