// "Optimierte Textbreite": text heights fitted to the width between the
// border lines, measured on the composed page.
#include "app/mainwindow.h"
#include "document/text_width.h"
#include "model/undobj.h"
#include "platform/printer.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

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
        f.Kind = TFieldKind::Text;
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
                    return info.inkWidth;
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
    picture.Kind = TFieldKind::Picture;
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
