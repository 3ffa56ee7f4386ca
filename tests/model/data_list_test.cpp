#include "model/data_list.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
TDataList read(const QByteArray &bytes)
{
    TDataList list;
    QString error;
    EXPECT_TRUE(list.ReadText(bytes, &error)) << error.toStdString();
    return list;
}
} // namespace

TEST(DataList, ReadsWhatSpreadsheetsWrite)
{
    // Semicolon, Windows-1252 (as a German spreadsheet saves "CSV"), CR LF,
    // a quoted value with separator, doubled quote and line break.
    const TDataList de = read("Name;Stra\xdf"
                              "e;Ort\r\n"
                              "M\xfcller;\"Hauptstr. 1; Hof\";\"K\xf6ln\"\r\n"
                              "\"Meier \"\"Hans\"\"\";\"Am Weg 2\r\nHinterhaus\";Bonn\r\n"
                              ";;\r\n");
    ASSERT_EQ(de.RecordCount(), 2u);
    EXPECT_EQ(de.Headings, QStringList({"Name", QString::fromUtf8("Straße"), "Ort"}));
    EXPECT_EQ(de.Value(0, 0), QString::fromUtf8("Müller"));
    EXPECT_EQ(de.Value(0, 1), "Hauptstr. 1; Hof");
    EXPECT_EQ(de.Value(0, 2), QString::fromUtf8("Köln"));
    EXPECT_EQ(de.Value(1, 0), "Meier \"Hans\"");
    EXPECT_EQ(de.Value(1, 1), "Am Weg 2\r\nHinterhaus");
    EXPECT_EQ(de.ColumnOf(QString::fromUtf8(" straße ")), 1);

    // Comma with UTF-8 BOM; a short record; a heading line that names a
    // comma inside quotes does not make the comma the separator of a tab list.
    const TDataList en = read("\xEF\xBB\xBFNr,Bezeichnung\n7,Gr\xc3\xbc\xc3\x9f"
                              "e\n8\n");
    ASSERT_EQ(en.RecordCount(), 2u);
    EXPECT_EQ(en.Value(0, 1), QString::fromUtf8("Grüße"));
    EXPECT_EQ(en.Value(1, 1), QString());
    const TDataList tabs = read("\"A, B\"\tC\n1\t2\n");
    EXPECT_EQ(tabs.Headings, QStringList({"A, B", "C"}));

    // A range copied from a spreadsheet (tabs), UTF-16 as "Unicode text".
    const QString utf16 = QStringLiteral("Art\tMenge\r\nSchrauben\t100\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
    EXPECT_EQ(read(bytes).Value(0, 0), "Schrauben");

    // One value a line, without headings: its one column is {1}.
    const TDataList plain = read("Ordner 1\nOrdner \"2\"\n\nOrdner 3");
    EXPECT_TRUE(plain.Headings.isEmpty());
    ASSERT_EQ(plain.RecordCount(), 3u);
    EXPECT_EQ(plain.Value(1, 0), "Ordner \"2\"");
    EXPECT_EQ(plain.HeadingsText(), "{1}");
}

TEST(DataList, RefusesWhatIsNoList)
{
    QTemporaryDir dir;
    struct Case {
        QByteArray bytes;
        const char *reason;
    };
    const QByteArray many = QByteArray("Nr\n") + QByteArray("x\n").repeated(int(kMaxDataListRecords) + 1);
    for (const Case &c : {Case{"", "keine Datensätze"}, Case{"Name;Ort\r\n;\r\n", "keine Datensätze"},
                          Case{"A;B\n\"offen;1\n2;3\n", "Zeile 2"}, Case{many, "zu groß"}}) {
        TDataList list;
        QString error;
        EXPECT_FALSE(list.ReadText(c.bytes, &error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
    }
    TDataList list;
    QString error;
    EXPECT_FALSE(list.ReadFile(dir.filePath("fehlt.csv"), &error));
    EXPECT_TRUE(error.contains("\"fehlt.csv\" kann nicht")) << error.toStdString();
    EXPECT_FALSE(list.ReadFile(dir.path(), &error));
}
