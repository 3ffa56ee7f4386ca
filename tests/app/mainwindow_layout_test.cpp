// "Neu" and "Ändern" with the layout dialog, driven by real input while the
// dialog runs modally.
#include "app/mainwindow.h"
#include "controls/MUVButton.h"
#include "controls/MUVScrollBox.h"
#include "controls/SpezialSpin.h"
#include "dialogs/rsneu.h"
#include "model/undobj.h"
#include "platform/file_dialogs.h"
#include "platform/printer.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace
{

const QString kExample = QStringLiteral(DORLIX_SOURCE_DIR "/examples/etiketten-5x13.rsd");

class LayoutCommands : public ::testing::Test
{
  protected:
    LayoutCommands() : data_(QDir(program.Path()).filePath("daten"))
    {
        QDir().mkpath(data_);
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        QFile f(program.File("dorlix.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[Pfad]\nDaten=" + data_ + "\n").toUtf8());
        f.close();
        prevFile_ = platform::SetFileDialogHandler([this](QWidget *, const platform::FileDialogRequest &r) {
            saveRequests.push_back(r);
            return QString();
        });
    }
    ~LayoutCommands() override { platform::SetFileDialogHandler(prevFile_); }

    std::unique_ptr<TForm1> start(const QString &file = QString())
    {
        auto w = std::make_unique<TForm1>();
        if (!file.isEmpty())
            w->SetStartFile(file);
        w->resize(1200, 900);
        w->FormShow();
        return w;
    }
    QString copyExample()
    {
        const QString target = QDir(data_).filePath("bogen.rsd");
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(kExample, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    // Clicks the tool button; when the layout dialog comes up, act drives it
    // (and should end it). Returns how often the dialog came up.
    int withDialog(TForm1 &w, const char *button, const std::function<void(TForm_RSNEU &)> &act)
    {
        int seen = 0;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *d = qobject_cast<TForm_RSNEU *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible())
                return;
            poll.stop();
            ++seen;
            titles << d->windowTitle();
            act(*d);
            if (d->isVisible()) // a failed check must not leave the dialog up
                d->reject();
        });
        poll.start();
        QTest::mouseClick(w.Button(QString::fromLatin1(button)), Qt::LeftButton);
        poll.stop();
        return seen;
    }
    static void type(TSpezialSpin *spin, const QString &text)
    {
        QLineEdit *e = spin->Editor();
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, text);
    }
    static void choosePreset(TForm_RSNEU &d, int index)
    {
        d.combo_STDs->setFocus();
        QTest::keyClick(d.combo_STDs, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(d.combo_STDs, Qt::Key_Down);
    }
    static void ok(TForm_RSNEU &d) { QTest::mouseClick(d.btn_ok, Qt::LeftButton); }

    // A new 4 × 6 spine sheet (the first standard) through "Neu".
    void newSpineSheet(TForm1 &w)
    {
        ASSERT_EQ(withDialog(w, "btn_Neu",
                             [&](TForm_RSNEU &d) {
                                 choosePreset(d, 0);
                                 ok(d);
                             }),
                  1);
        ASSERT_EQ(w.Sheet().ColumnCount, 4);
    }

    TempDesktopHome home;
    TempProgramFolder program;
    MessageCapture messages;
    QString data_;
    QStringList titles;
    std::vector<platform::FileDialogRequest> saveRequests;

  private:
    platform::FileDialogHandler prevFile_;
};

// Everything of a field but its frame.
struct FieldState {
    int kind;
    std::string text, font;
    double height, angle, lineWidth;
    int style, alignment;
    TColor fontColour, background, lineColour;
    bool visible, topBottom, leftRight, picture;
    bool operator==(const FieldState &) const = default;
};
std::vector<FieldState> fieldStates(const TRS &s)
{
    std::vector<FieldState> out;
    for (int c = 0; c < s.ColumnCount; ++c)
        for (int r = 0; r < s.RowCount; ++r) {
            const TRSObject *f = s.GetField(c, r);
            out.push_back({int(f->Kind), f->Text, f->FontName, f->FontHeight, f->Angle, f->LineWidth,
                           f->FontStyle, f->Alignment, f->FontColor, f->BackgroundColor, f->LineColor,
                           f->Visible, f->LinesTopBottom, f->LinesLeftRight, bool(f->Picture)});
        }
    return out;
}

} // namespace

TEST_F(LayoutCommands, NewSheetFromAStandard)
{
    auto w = start();
    EXPECT_TRUE(w->Button("btn_Neu")->isEnabled());
    EXPECT_TRUE(w->MenuAction("Neu")->isEnabled());
    EXPECT_FALSE(w->Button("btn_mod")->isEnabled());
    w->Document().LineFactor = 1.3;
    TRSLayoutValues before;
    ASSERT_EQ(withDialog(*w, "btn_Neu",
                         [&](TForm_RSNEU &d) {
                             before = d.Values();
                             choosePreset(d, 5);
                             ok(d);
                         }),
              1);
    EXPECT_EQ(titles, QStringList{"Neues Rückenschild definieren..."});
    // What the dialog started with.
    EXPECT_EQ(before.MarginLeft, 26.5);
    EXPECT_EQ(before.MarginRight, 26.5);
    EXPECT_EQ(before.LineFactor, 1.3);
    EXPECT_EQ(before.BackgroundColor, clYellow);
    EXPECT_EQ(before.RowLineColor, clSilver);

    const TRS &s = w->Sheet();
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_EQ(s.RowCount, 13);
    EXPECT_EQ(s.PageWidth, 210);
    EXPECT_EQ(s.PageHeight, 297);
    EXPECT_EQ(s.MarginLeft, 10);
    EXPECT_EQ(s.MarginBottom, 10.7);
    EXPECT_EQ(s.FieldSpacing, 1);
    EXPECT_DOUBLE_EQ(s.ColumnWidth, 38);
    EXPECT_EQ(w->Document().LineFactor, 1.0);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(w->DPaintbox1()->isVisible());
    EXPECT_NEAR(w->DPaintbox1()->PageHeightMm(), 297, 0.1);
    EXPECT_TRUE(s.Modified);
    EXPECT_EQ(w->PreviewCaption()->text(), TForm1::PreviewHelpCaption());
    EXPECT_TRUE(w->Button("btn_mod")->isEnabled());
    EXPECT_FALSE(w->Button("btn_Neu")->isDown());
    EXPECT_EQ(w->Document().FileName(), "unbenannt.rsd");
    EXPECT_LE(w->DPaintbox1()->height(), w->ScrollBox1()->height());
}

TEST_F(LayoutCommands, NewKeepsTheNameAndUndoBringsThePreviousSheetBack)
{
    auto w = start(copyExample());
    ASSERT_EQ(w->Sheet().ColumnCount, 5);
    // A landscape sheet from the dialog as it opens.
    ASSERT_EQ(withDialog(*w, "btn_Neu", [&](TForm_RSNEU &d) { ok(d); }), 1);
    EXPECT_TRUE(messages.Messages().empty()); // nothing to save
    EXPECT_EQ(w->Sheet().ColumnCount, 4);
    EXPECT_EQ(w->Sheet().MarginLeft, 26.5);
    EXPECT_NEAR(w->Sheet().PageWidth, 297, 0.1);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Landscape);
    EXPECT_EQ(w->Document().FileName(), "bogen.rsd");
    EXPECT_TRUE(w->windowTitle().endsWith(" - bogen.rsd"));
    ASSERT_TRUE(w->Button("btn_undo")->isEnabled());
    QTest::mouseClick(w->Button("btn_undo"), Qt::LeftButton);
    EXPECT_EQ(w->Sheet().ColumnCount, 5);
    EXPECT_EQ(w->Sheet().RowCount, 13);
}

TEST_F(LayoutCommands, NewOnAModifiedSheetAsksFirst)
{
    auto w = start(copyExample());
    w->Document().Commit(false);
    ASSERT_TRUE(w->Sheet().Modified);
    // Cancel: no dialog, nothing changes.
    messages.Answer(platform::mrCancel);
    EXPECT_EQ(withDialog(*w, "btn_Neu", [&](TForm_RSNEU &d) { ok(d); }), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].startsWith("Die Rückenschilddaten wurden geändert."));
    EXPECT_EQ(messages.Messages()[0].buttons, platform::MsgButtons::YesNoCancel);
    EXPECT_EQ(w->Sheet().ColumnCount, 5);
    EXPECT_TRUE(w->Sheet().Modified);

    // Yes, then the save dialog cancelled: the layout dialog still comes, and
    // the save dialog proposed the opened file's name.
    messages.Answer(platform::mrYes);
    EXPECT_EQ(withDialog(*w, "btn_Neu", [&](TForm_RSNEU &d) { d.reject(); }), 1);
    ASSERT_EQ(saveRequests.size(), 1u);
    EXPECT_EQ(saveRequests[0].fileName, "bogen.rsd");
    EXPECT_EQ(w->Sheet().ColumnCount, 5); // the layout dialog was cancelled
}

TEST_F(LayoutCommands, ChangingOnlyMarginsKeepsEveryFieldsContentAndFormat)
{
    auto w = start(copyExample());
    TRS &s = w->Sheet();
    const auto fields = fieldStates(s);
    const int current = w->Undo()->Current;
    const double x1 = s.GetField(0, 0)->X1;
    ASSERT_EQ(withDialog(*w, "btn_mod",
                         [&](TForm_RSNEU &d) {
                             EXPECT_FALSE(d.Spin_sbreite->isEnabled());
                             EXPECT_FALSE(d.spin_shoehe->isEnabled());
                             EXPECT_EQ(d.combo_STDs->currentIndex(), -1);
                             const TRSLayoutValues v = d.Values();
                             EXPECT_EQ(v.Columns, 5);
                             EXPECT_EQ(v.Rows, 13);
                             EXPECT_EQ(v.PageWidth, s.PageWidth);
                             EXPECT_EQ(v.MarginTop, s.MarginTop);
                             EXPECT_EQ(v.FieldSpacing, s.FieldSpacing);
                             type(d.spin_rali, "12");
                             type(d.spin_raob, "15");
                             ok(d);
                         }),
              1);
    EXPECT_EQ(titles, QStringList{"Rückenschild ändern..."});
    EXPECT_TRUE(messages.Messages().empty()); // counts unchanged: no question
    EXPECT_EQ(s.MarginLeft, 12);
    EXPECT_EQ(s.MarginTop, 15);
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_NE(s.GetField(0, 0)->X1, x1);
    EXPECT_EQ(fieldStates(s), fields);
    EXPECT_EQ(w->Undo()->Current, current + 1);
    EXPECT_TRUE(s.Modified);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
}

TEST_F(LayoutCommands, ChangedCountsAnsweredNoApplyOnlyTheMargins)
{
    auto w = start(copyExample());
    TRS &s = w->Sheet();
    const auto fields = fieldStates(s);
    messages.Answer(platform::mrNo);
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        type(d.spin_spalten, "4");
        type(d.spin_raunt, "5");
        ok(d);
    });
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "Sie haben die Anzahl der Spalten oder Reihen geändert !\r\nBei kleinerer "
                                   "Anzahl werden evtl. vorhandene Elemente\r\nentfernt.\r\n\r\nMÖCHTEN SIE "
                                   "DIES WIRKLICH TUN ?");
    EXPECT_EQ(messages.Messages()[0].type, platform::MsgType::Warning);
    EXPECT_EQ(messages.Messages()[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_EQ(s.MarginBottom, 5);
    EXPECT_EQ(fieldStates(s), fields);
}

TEST_F(LayoutCommands, ChangedCountsAnsweredYesScaleTheTexts)
{
    auto w = start();
    newSpineSheet(*w);
    TRS &s = w->Sheet();
    for (int c = 0; c < 4; ++c) {
        TRSObject *f = s.GetField(c, 0);
        f->Kind = TFieldKind::Text;
        f->Text = "Akten " + std::to_string(c);
        f->FontHeight = 8;
        f->Visible = true;
    }
    s.GetField(3, 5)->Kind = TFieldKind::Picture;
    s.GetField(3, 5)->FontHeight = 7;
    messages.Answer(platform::mrYes);
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        type(d.spin_spalten, "5");
        ok(d);
    });
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_DOUBLE_EQ(s.ColumnWidth, (297.0 - 52) / 5);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(s.GetField(c, 0)->Text, "Akten " + std::to_string(c));
        EXPECT_DOUBLE_EQ(s.GetField(c, 0)->FontHeight, 6.4);
    }
    EXPECT_EQ(s.GetField(3, 5)->FontHeight, 7); // pictures keep theirs
    EXPECT_EQ(s.GetField(4, 0)->Kind, TFieldKind::Empty);
}

TEST_F(LayoutCommands, CancelledChangeChangesNothing)
{
    auto w = start(copyExample());
    TRS &s = w->Sheet();
    const auto fields = fieldStates(s);
    const double left = s.MarginLeft, factor = w->Document().LineFactor;
    const int current = w->Undo()->Current;
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        type(d.spin_rali, "30");
        type(d.spin_spalten, "2");
        type(d.spin_TXTZH, "2");
        QTest::mouseClick(d.btn_cancel, Qt::LeftButton);
    });
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(s.MarginLeft, left);
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_EQ(w->Document().LineFactor, factor);
    EXPECT_EQ(fieldStates(s), fields);
    EXPECT_EQ(w->Undo()->Current, current);
    EXPECT_FALSE(s.Modified);
}

TEST_F(LayoutCommands, BadValuesNeverReachTheSheet)
{
    auto w = start(copyExample());
    TRS &s = w->Sheet();
    const double top = s.MarginTop;
    bool stayedOpen = false;
    QString typed;
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        type(d.spin_raob, "290");
        ok(d);
        stayedOpen = d.isVisible();
        typed = d.spin_raob->Editor()->text();
        d.reject();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(typed, "290,0");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].contains("Rand oben (290,00 mm)"));
    EXPECT_EQ(s.MarginTop, top);

    // Counts kept by the answer No can make the typed gap too wide: the
    // sheet stays as it was.
    messages.Clear();
    messages.Answer(platform::mrNo);
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        type(d.spin_spalten, "2");
        type(d.spin_dx, "80"); // (190 - 80) / 2 fits, (190 - 4 × 80) / 5 does not
        ok(d);
    });
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[1].type, platform::MsgType::Error);
    EXPECT_TRUE(messages.Texts()[1].endsWith("Das Rückenschild bleibt unverändert."));
    EXPECT_EQ(s.ColumnGap, 0);
    EXPECT_EQ(s.ColumnCount, 5);
}

TEST_F(LayoutCommands, AStandardChosenWhileChangingKeepsThePageSize)
{
    auto w = start(copyExample());
    TRS &s = w->Sheet();
    messages.Answer(platform::mrNo); // 4 x 6 of the standard against 5 x 13
    withDialog(*w, "btn_mod", [&](TForm_RSNEU &d) {
        choosePreset(d, 0); // binder spines on landscape A4
        EXPECT_EQ(d.Values().PageWidth, 297);
        ok(d);
    });
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(s.PageWidth, 210);
    EXPECT_EQ(s.PageHeight, 297);
    EXPECT_EQ(s.MarginLeft, 26);
    EXPECT_EQ(s.MarginTop, 9);
    EXPECT_EQ(s.FieldSpacing, 4);
    EXPECT_EQ(s.ColumnCount, 5);
    EXPECT_DOUBLE_EQ(s.ColumnWidth, (210.0 - 52) / 5);
    EXPECT_EQ(platform::Printer::Instance().Orientation(), QPageLayout::Portrait);
}
