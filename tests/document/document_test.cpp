#include "document/document.h"
#include "model/undobj.h"
#include "platform/printer.h"
#include "testsupport.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using canvas::ElementInfo;
using canvas::TDruckTyp;

namespace
{
class Document : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        canvas.SetPageSetup(platform::ReadPrinterPage(QPageLayout::Portrait).setup);
        doc.Sheet().SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 2, 0x00FFFF);
        doc.SetCanvas(&canvas);
        doc.Undo().SetUser("tester");
    }
    void text(int c, int r, const std::string &t)
    {
        TRSObject *f = doc.Sheet().GetField(c, r);
        f->Visible = true;
        f->Kind = 1;
        f->Text = t;
    }
    MessageCapture messages;
    TempProgramFolder folder; // the undo snapshots go next to the program
    TDPaintbox canvas;
    TDocument doc;
};
} // namespace

TEST_F(Document, CommitComposesMarksModifiedAndSignalsOnce)
{
    text(1, 1, "Ruecken");
    QSignalSpy changed(&doc, &TDocument::Changed);
    doc.SetModified(false);
    doc.Commit(false);
    EXPECT_TRUE(doc.Modified());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed[0][0].toBool());
    EXPECT_EQ(doc.Undo().Current, 0); // no snapshot asked for

    // Background, text, no border lines: the text is element 1 of page 1.
    EXPECT_EQ(doc.FieldElement(1, 1), 1);
    EXPECT_EQ(doc.FieldElement(0, 0), -1); // invisible
    ElementInfo info;
    ASSERT_TRUE(doc.FieldElementInfo(1, 1, info));
    EXPECT_EQ(info.kind, TDruckTyp::Text);
    EXPECT_EQ(info.text, "Ruecken");
    EXPECT_GT(info.width, 0);
    EXPECT_FALSE(doc.FieldElementInfo(0, 0, info));
    // Reading the info leaves the canvas on the page it was on.
    canvas.SelectPage(0, false);
    ASSERT_TRUE(doc.FieldElementInfo(1, 1, info));
    EXPECT_EQ(canvas.CurrentPage(), 0);
}

TEST_F(Document, ElementNumbersFollowTheLatestCommit)
{
    text(1, 1, "eins");
    doc.Commit(false);
    EXPECT_EQ(doc.FieldElement(1, 1), 1);
    // A field before it now takes two elements (background, text).
    text(0, 0, "null");
    doc.Commit(false);
    EXPECT_EQ(doc.FieldElement(0, 0), 1);
    EXPECT_EQ(doc.FieldElement(1, 1), 3);
    // An emptied text has no element any more, not a stale number.
    doc.Sheet().GetField(0, 0)->Text.clear();
    doc.Commit(false);
    EXPECT_EQ(doc.FieldElement(0, 0), -1);
    EXPECT_EQ(doc.FieldElement(1, 1), 2);
}

TEST_F(Document, CommitWithSnapshotPushesFirst)
{
    QSignalSpy changed(&doc, &TDocument::Changed);
    doc.Commit(true);
    doc.Sheet().GetField(0, 0)->Text = "geändert";
    doc.Commit(true);
    EXPECT_EQ(doc.Undo().Current, 2);
    EXPECT_TRUE(doc.Modified()); // set again after the snapshot cleared it
    doc.Commit(false);
    EXPECT_EQ(doc.Undo().Current, 2);
    ASSERT_EQ(changed.count(), 3);
    EXPECT_TRUE(changed[1][0].toBool());
    EXPECT_FALSE(changed[2][0].toBool());
}

TEST_F(Document, UndoStepReadsThePreviousSnapshotAndComposes)
{
    text(0, 0, "alt");
    doc.Commit(true);
    doc.Sheet().GetField(0, 0)->Text = "neu";
    doc.Commit(true);
    QSignalSpy changed(&doc, &TDocument::Changed);
    EXPECT_TRUE(doc.UndoStep());
    EXPECT_EQ(doc.Sheet().GetField(0, 0)->Text, "alt");
    EXPECT_EQ(changed.count(), 1);
    ElementInfo info;
    ASSERT_TRUE(doc.FieldElementInfo(0, 0, info));
    EXPECT_EQ(info.text, "alt");
}

TEST_F(Document, RestoredFieldTakesBackTextFrameAndPicture)
{
    text(1, 2, "vorher");
    doc.Commit(true);
    const std::unique_ptr<TRSObject> saved = doc.SaveField(1, 2);
    ASSERT_TRUE(saved);
    EXPECT_FALSE(doc.SaveField(5, 0));
    TRSObject *f = doc.Sheet().GetField(1, 2);
    const double left = f->Left;
    f->Text = "Entwurf";
    f->Left += 3;
    f->Visible = false;
    doc.Commit(false); // the live preview
    EXPECT_EQ(doc.FieldElement(1, 2), -1);

    QSignalSpy changed(&doc, &TDocument::Changed);
    doc.RestoreField(1, 2, *saved);
    EXPECT_EQ(f->Text, "vorher");
    EXPECT_DOUBLE_EQ(f->Left, left);
    EXPECT_TRUE(f->Visible);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed[0][0].toBool());
    EXPECT_EQ(doc.Undo().Current, 1); // no snapshot for the cancelled edit
    EXPECT_GE(doc.FieldElement(1, 2), 0);
}

TEST_F(Document, ThePageIsComposedWithoutAnyViewAndViewsFollowCommits)
{
    TDocument bare;
    bare.Sheet().SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 2, clWhite);
    bare.Sheet().GetField(0, 0)->Visible = true;
    bare.Sheet().GetField(0, 0)->Kind = 1;
    bare.Sheet().GetField(0, 0)->Text = "x";
    QSignalSpy changed(&bare, &TDocument::Changed);
    bare.Commit(false);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(bare.FieldElement(0, 0), 1);
    ElementInfo info;
    ASSERT_TRUE(bare.FieldElementInfo(0, 0, info));
    EXPECT_EQ(info.text, "x");
    QImage page;
    bare.Page().RenderToBitmap(page, clWhite, 0.5);
    EXPECT_FALSE(page.isNull());

    // The canvas given to the document views the document's page and
    // repaints on every commit; taken away, it shows its own page again.
    EXPECT_EQ(&canvas.Page(), &doc.Page());
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    QApplication::processEvents();
    int paints = 0;
    struct Counter : QObject {
        int *n;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                ++*n;
            return false;
        }
    } counter;
    counter.n = &paints;
    canvas.installEventFilter(&counter);
    doc.Commit(false);
    EXPECT_GE(paints, 1);
    canvas.removeEventFilter(&counter);
    doc.SetCanvas(nullptr);
    EXPECT_NE(&canvas.Page(), &doc.Page());
}

TEST_F(Document, SaveAndOpenFollowTheFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(doc.FileName(), "unbenannt.rsd");
    QSignalSpy named(&doc, &TDocument::NameChanged);
    text(0, 1, "gespeichert");
    doc.Commit(true);
    ASSERT_TRUE(doc.Save(dir.filePath("a.rsd")));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.FileName(), "a.rsd");
    EXPECT_EQ(doc.Folder(), dir.path());
    EXPECT_EQ(named.count(), 1);

    // A failed write keeps name and flag and hands the message back.
    doc.Commit(false);
    QString error;
    EXPECT_FALSE(doc.Save(dir.filePath("fehlt/b.rsd"), &error));
    EXPECT_TRUE(error.contains("konnte nicht gespeichert werden")) << error.toStdString();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(doc.FileName(), "a.rsd");
    EXPECT_TRUE(doc.Modified());

    TDocument other;
    other.Undo().SetUser("tester");
    other.SetCanvas(&canvas);
    EXPECT_FALSE(other.Open(dir.filePath("gibtsnicht.rsd")));
    EXPECT_EQ(other.FileName(), "unbenannt.rsd");
    ASSERT_TRUE(other.Open(dir.filePath("a.rsd")));
    EXPECT_EQ(other.FileName(), "a.rsd");
    other.Opened();
    EXPECT_FALSE(other.Modified());
    EXPECT_EQ(other.Undo().Current, 1);
    EXPECT_EQ(other.Sheet().GetField(0, 1)->Text, "gespeichert");
    EXPECT_EQ(other.FieldElement(0, 1), 1);
}
