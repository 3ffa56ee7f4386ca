#include "document/merge.h"
#include "model/barcode.h"
#include "model/data_list.h"
#include "model/rs.h"
#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace
{
std::string text(const TRS &sheet, int column, int row)
{
    const TRSObject *f = sheet.GetField(column, row);
    return f && f->Visible ? platform::FromAnsi(f->Text).toStdString() : "<leer>";
}

class Merge : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        sheet.SetLayout(3, 2, 210, 297, 10, 10, 10, 10, 2, 2, clWhite);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 2; ++r) {
                TRSObject *f = sheet.GetField(c, r);
                f->Visible = true;
                f->Kind = TFieldKind::Text;
                f->Text = platform::ToAnsi(QString::fromUtf8("{Name}\r\n{straße}\r\n{#:000} {3}"));
            }
        sheet.GetField(0, 0)->Text = "Firma {{X}}";
        ASSERT_TRUE(list.ReadText("Name;Stra\xdf"
                                  "e;Ort\n"
                                  "A;S1;O1\nB;;O2\nC;S3;O3\nD;S4;O4\nE;S5;O5\nF;S6;O6\n",
                                  nullptr));
    }
    TRS sheet;
    TDataList list;
};
} // namespace

TEST_F(Merge, FillsPlacesInOrderFromTheStartLabel)
{
    TMerge merge;
    QString error;
    ASSERT_TRUE(merge.Prepare(sheet, {&list}, {TFillOrder::Rows, 3, false}, &error)) << error.toStdString();
    EXPECT_EQ(merge.FillPlaceCount(), 5);
    ASSERT_EQ(merge.PageCount(), 2); // 4 places from label 3 on, then 2 of 5

    TRS page;
    std::vector<std::pair<int, int>> filled;
    merge.FillPage(0, page, &filled);
    EXPECT_EQ(text(page, 0, 0), "<leer>"); // used labels stay empty, the heading too
    EXPECT_EQ(text(page, 1, 0), "<leer>");
    EXPECT_EQ(text(page, 2, 0), "A\r\nS1\r\n001 O1");
    EXPECT_EQ(text(page, 0, 1), "B\r\n002 O2"); // the empty street line is left out
    EXPECT_EQ(text(page, 2, 1), "D\r\nS4\r\n004 O4");
    EXPECT_EQ(filled.size(), 4u);
    EXPECT_EQ(platform::FromAnsi(sheet.GetField(2, 0)->Text).toStdString(),
              "{Name}\r\n{straße}\r\n{#:000} {3}");

    merge.FillPage(1, page, &filled);
    EXPECT_EQ(text(page, 0, 0), "Firma {X}");
    EXPECT_EQ(text(page, 1, 0), "E\r\nS5\r\n005 O5");
    EXPECT_EQ(text(page, 2, 0), "F\r\nS6\r\n006 O6");
    EXPECT_EQ(text(page, 0, 1), "<leer>");
    EXPECT_EQ(filled, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}}));

    // Columns: top to bottom, then right; numbered labels from 7 without a list.
    TMergeSource count;
    count.Count = 4;
    count.First = 7;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            sheet.GetField(c, r)->Text = "{#:000}";
    sheet.GetField(0, 0)->Text = "Ordner {#}";
    ASSERT_TRUE(merge.Prepare(sheet, count, {TFillOrder::Columns, 2, false}, &error)) << error.toStdString();
    EXPECT_EQ(merge.PageCount(), 1);
    merge.FillPage(0, page);
    EXPECT_EQ(text(page, 0, 0), "<leer>");
    EXPECT_EQ(text(page, 0, 1), "007");
    EXPECT_EQ(text(page, 1, 0), "008");
    EXPECT_EQ(text(page, 2, 0), "010");
    EXPECT_EQ(text(page, 2, 1), "<leer>");
}

TEST_F(Merge, RefusesWhatCannotBeFilled)
{
    TMerge merge;
    QString error;
    sheet.GetField(1, 1)->Text = "{Strasse} {PLZ} {9} {{Name}}";
    EXPECT_FALSE(merge.Prepare(sheet, {&list}, {}, &error));
    EXPECT_EQ(error.toStdString(), "Die Platzhalter {Strasse}, {PLZ}, {9} passen zu keiner Spalte der Liste."
                                   "\r\nDie Liste hat die Spalten: Name, Straße, Ort");

    TMergeSource count;
    count.Count = 3;
    EXPECT_FALSE(merge.Prepare(sheet, count, {}, &error));
    EXPECT_TRUE(error.contains("ohne Liste")) << error.toStdString();

    sheet.GetField(1, 1)->Text = "{Name}";
    EXPECT_FALSE(merge.Prepare(sheet, {&list}, {TFillOrder::Rows, 7, false}, &error));
    EXPECT_TRUE(error.contains("zwischen 1 und 6")) << error.toStdString();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            sheet.GetField(c, r)->Text = "Fest {{1}}";
    EXPECT_FALSE(merge.Prepare(sheet, {&list}, {}, &error));
    EXPECT_TRUE(error.contains("Platzhalter")) << error.toStdString();
}

// A code whose data hold placeholders is a label place: each record gets its
// own code, an empty value none, and a value the code cannot hold stops the
// job before the first page, naming the record and the field.
TEST_F(Merge, CodesTakeTheirDataFromEachRecord)
{
    TBarcodeSettings ean{TBarcodeKind::Ean13, QStringLiteral("{1}"), true, clBlack};
    TDataList numbers;
    ASSERT_TRUE(numbers.ReadText("EAN;Name\n400638133393;A\n4006381333931;B\n;C\nx;D\n", nullptr));
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            sheet.GetField(c, r)->Text.clear();
    QString error;
    ASSERT_TRUE(SetFieldBarcode(*sheet.GetField(2, 0), ean, &error)) << error.toStdString();
    sheet.GetField(1, 1)->Visible = true;
    sheet.GetField(1, 1)->Text = "{Name}";

    TMerge merge;
    ASSERT_TRUE(merge.Prepare(sheet, {&numbers}, {}, &error)) << error.toStdString();
    EXPECT_EQ(merge.FillPlaceCount(), 2);
    ASSERT_EQ(merge.PageCount(), 2);
    std::vector<std::string> seen;
    for (int p = 0; p < merge.PageCount(); ++p) {
        TRS copy;
        merge.FillPage(p, copy);
        const TRSObject *f = copy.GetField(2, 0);
        const TBarcodeSettings *code = f->Visible ? FieldBarcode(*f) : nullptr;
        seen.push_back(code ? code->data.toStdString() : "<leer>");
        seen.push_back(text(copy, 1, 1));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"400638133393", "B", "<leer>", "D"}));
    EXPECT_EQ(FieldBarcode(*sheet.GetField(2, 0))->data,
              QStringLiteral("{1}")); // the sheet keeps its template

    ASSERT_TRUE(numbers.ReadText("EAN;Name\n400638133393;A\n4006381333932;B\n", nullptr));
    sheet.GetField(1, 1)->Text.clear();
    EXPECT_FALSE(merge.Prepare(sheet, {&numbers}, {}, &error));
    EXPECT_TRUE(error.startsWith("Datensatz 2 lässt sich nicht als Code in Spalte 3, Reihe 1 darstellen:\r\n"
                                 "Die Prüfziffer des EAN-13 stimmt nicht"))
        << error.toStdString();
}
