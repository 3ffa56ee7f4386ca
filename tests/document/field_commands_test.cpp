// The field, column and row commands on a document, without a window.
#include "document/document.h"
#include "document/field_commands.h"
#include "document/list_paste.h"
#include "model/undobj.h"
#include "platform/printer.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace
{
class DocumentCommands : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        platform::Printer::Instance().SetSystemPrintersEnabled(false);
        platform::Printer::Instance().Refresh();
        // Two columns of three rows, 4 mm between fields.
        doc.Sheet().SetLayout(2, 3, 210, 297, 10, 10, 20, 20, 4, 4, clWhite);
        doc.Undo().SetUser("tester");
        doc.Commit(true);
    }
    TRSObject &field(int c, int r) { return *doc.Sheet().GetField(c, r); }
    int steps() const { return doc.Undo().Current; }

    MessageCapture messages;
    TempProgramFolder folder; // the undo snapshots go next to the program
    TDocument doc;
};
} // namespace

TEST_F(DocumentCommands, PositionsComeFromPagePointsAndCommandsNeedWhatTheyWorkOn)
{
    const TRSObject &f = field(1, 2);
    EXPECT_EQ(FieldPosAt(doc.Sheet(), f.CenterX, f.CenterY).column, 1);
    EXPECT_EQ(FieldPosAt(doc.Sheet(), f.CenterX, f.CenterY).row, 2);
    const TFieldPos between = FieldPosAt(doc.Sheet(), f.CenterX, f.Top - 2); // between rows 1 and 2
    EXPECT_EQ(between.column, 1);
    EXPECT_EQ(between.row, -1);
    const TFieldPos margin = FieldPosAt(doc.Sheet(), 2, 2);
    EXPECT_EQ(margin.column, -1);
    EXPECT_EQ(margin.row, -1);

    // Field commands find nothing between the fields and leave no undo step;
    // column commands work there.
    const int before = steps();
    EXPECT_FALSE(ToggleFieldVisible(doc, between));
    EXPECT_FALSE(CopyToAllFields(doc, between, TCopyContent::Everything));
    EXPECT_FALSE(PasteText(doc, between, "Text").done);
    EXPECT_FALSE(SetColumnFieldsVisible(doc, margin, true));
    EXPECT_EQ(steps(), before);
    EXPECT_TRUE(SetColumnFieldsVisible(doc, between, true));
    EXPECT_TRUE(SetColumnBackgroundColour(doc, between, clRed));
    EXPECT_TRUE(field(1, 0).Visible && field(1, 2).Visible && !field(0, 0).Visible);
    EXPECT_TRUE(doc.Sheet().GetColumn(1)->BackgroundOn);
    EXPECT_EQ(steps(), before + 2);
}

TEST_F(DocumentCommands, PastedTextIsRefusedOrReportedAsAValue)
{
    const TFieldPos pos{0, 1};
    field(0, 1).Kind = TFieldKind::Picture;
    const int before = steps();
    const TCommandResult nothing = PasteText(doc, pos, "\x01\x02\x1b");
    EXPECT_FALSE(nothing.done);
    EXPECT_EQ(nothing.message, "Die Zwischenablage enthält keinen einfügbaren Text.");
    EXPECT_EQ(field(0, 1).Kind, TFieldKind::Picture);
    EXPECT_EQ(steps(), before);

    const TCommandResult pasted = PasteText(doc, pos, std::string(300, 'x') + "\x07");
    EXPECT_TRUE(pasted.done);
    EXPECT_EQ(pasted.message,
              "Der Text aus der Zwischenablage hatte 300 Zeichen; ein Feld fasst 255, der Rest "
              "wurde weggelassen. Steuerzeichen aus der Zwischenablage wurden entfernt.");
    EXPECT_EQ(field(0, 1).Kind, TFieldKind::Text);
    EXPECT_TRUE(field(0, 1).Visible);
    EXPECT_EQ(field(0, 1).Text, std::string(255, 'x'));
    EXPECT_TRUE(messages.Messages().empty()); // the document itself shows nothing
    EXPECT_EQ(steps(), before + 1);
}

TEST_F(DocumentCommands, CopiesTakeTheUsersDecisionAndFormatsOnlyTextFields)
{
    TRSObject &source = field(0, 1);
    source.Kind = TFieldKind::Text;
    source.Text = "Quelle";
    source.FontHeight = 11;
    const int before = steps();
    EXPECT_TRUE(CopyToRow(doc, {0, 1}, false)); // declined: an undo step all the same
    EXPECT_EQ(field(1, 1).Text, "");
    EXPECT_TRUE(CopyToRow(doc, {0, 1}, true));
    EXPECT_EQ(field(1, 1).Text, "Quelle");
    EXPECT_TRUE(CopyToAllFields(doc, {0, 1}, TCopyContent::FormatOnly));
    EXPECT_EQ(field(0, 2).Text, "");
    EXPECT_EQ(field(0, 2).FontHeight, 11);
    EXPECT_EQ(steps(), before + 3);

    // Format copy and paste work on text fields only; the copy is no change.
    field(1, 2).Kind = TFieldKind::Picture;
    EXPECT_FALSE(CopyFormat(doc, {1, 2}));
    EXPECT_FALSE(ApplyFormat(doc, {1, 2}));
    EXPECT_TRUE(CopyFormat(doc, {0, 1}));
    EXPECT_EQ(steps(), before + 3);
    field(0, 0).FontHeight = 3;
    EXPECT_TRUE(ApplyFormat(doc, {0, 0}));
    EXPECT_EQ(field(0, 0).FontHeight, 11);
    EXPECT_EQ(steps(), before + 4);
}

TEST_F(DocumentCommands, PastedListFillsFieldsInFillOrderInOneStep)
{
    const int before = steps();
    // A spreadsheet range: a row of two cells becomes a field of two lines.
    TCommandResult r =
        PasteListIntoFields(doc, {1, 0}, "Anna\r\nBerta\tHof 2\r\nCarl\r\n\r\n", TFillOrder::Columns);
    EXPECT_TRUE(r.done);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(field(1, 0).Text, "Anna");
    EXPECT_EQ(field(1, 1).Text, "Berta\r\nHof 2");
    EXPECT_EQ(field(1, 2).Text, "Carl");
    EXPECT_TRUE(field(1, 2).Visible);
    EXPECT_EQ(steps(), before + 1);

    // Rows order from the last field of the first row: the list runs over
    // the second row and stops where the sheet ends.
    r = PasteListIntoFields(doc, {1, 1}, "1\n2\n3\n4\n", TFillOrder::Rows);
    EXPECT_EQ(field(1, 1).Text, "1");
    EXPECT_EQ(field(0, 2).Text, "2");
    EXPECT_EQ(field(1, 2).Text, "3");
    EXPECT_EQ(r.message, QStringLiteral("Der Bogen endet: 3 von 4 Zeilen wurden eingefügt."));
    EXPECT_FALSE(PasteListIntoFields(doc, {1, 1}, "\r\n", TFillOrder::Rows).done);
}
