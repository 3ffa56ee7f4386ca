#include "label_file_bytes.h"
#include "model/rs.h"
#include "platform/codepage.h"
#include "platform/system.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits>
#include <sys/file.h>
#include <unistd.h>

namespace
{

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A sheet using every kind of value, for round trips.
void fillSheet(TRS &rs)
{
    rs.SetLayout(3, 2, 210, 297, 5, 6, 7, 8, 2.5, 1.25, 0x00FF00FF);
    rs.Reserved1 = 1.5;
    rs.Reserved2 = -2.25;
    rs.RowLineColor = 0x111111;
    rs.RowLineStyle = 3;
    rs.ColumnLineColor = 0x222222;
    rs.ColumnLineStyle = 5;
    rs.GetColumn(1)->BackgroundOn = true;
    rs.GetColumn(1)->BackgroundColor = 0x345678;

    TRSObject *t = rs.GetField(0, 0);
    t->Kind = 1;
    t->Visible = true;
    t->Text = "Zeile 1\r\nGr\xF6\xDF"
              "e \x80";
    t->FontName = "Liberation Serif";
    t->FontHeight = 7.123456789;
    t->FontStyle = 7;
    t->FontColor = 0x0000FF;
    t->Alignment = 2;
    t->Angle = 90;
    t->LinesTopBottom = true;
    t->LineWidth = 0.3;
    t->BackgroundColor = 0xABCDEF;

    TRSObject *e = rs.GetField(0, 1);
    e->Kind = 0;
    e->Text = "unsichtbar gespeichert";

    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(Qt::green);
    img.setPixel(4, 2, qRgb(1, 2, 3));
    rs.GetField(1, 0)->Kind = 2;
    rs.GetField(1, 0)->Picture = TPicture::FromImage(img);
    rs.GetField(1, 1)->Kind = 2; // picture field without a picture

    // A placeable WMF: header, then a minimal metafile with only its end record.
    Bytes w;
    w.i32(std::int32_t(0x9AC6CDD7u)).u8(0).u8(0);
    w.u8(0).u8(0).u8(0).u8(0).u8(0xE8).u8(0x03).u8(0xE8).u8(0x03).u8(0xE8).u8(
        0x03); // 0,0 - 1000,1000 @1000/inch
    w.i32(0);
    std::uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= std::uint16_t(std::uint8_t(w.b[i]) | std::uint8_t(w.b[i + 1]) << 8);
    w.u8(sum & 0xFF).u8(sum >> 8);
    w.u8(1).u8(0).u8(9).u8(0).u8(0).u8(3).i32(12).u8(0).u8(0).i32(3).u8(0).u8(0); // WMF header
    w.i32(3).u8(0).u8(0);                                                         // end record
    const TBytes meta(w.b.begin(), w.b.end());
    rs.GetField(2, 0)->Kind = 2;
    rs.GetField(2, 0)->Picture = TPicture::FromMetafileBytes(meta, nullptr);
    ASSERT_TRUE(rs.GetField(2, 0)->Picture);
    rs.GetField(2, 1)->Kind = 5;
}

} // namespace

class RsFile : public ::testing::Test
{
  protected:
    TempProgramFolder program;
    MessageCapture messages; // the reader and the writer must never show one
    QStringList errors;      // what load and save handed back
    QString path(const QString &name) const { return program.File(name); }
    bool load(TRS &rs, const QString &file, int *version = nullptr)
    {
        QString error;
        const bool ok = rs.LoadFromFile(file, version, &error);
        if (!error.isEmpty())
            errors << error;
        return ok;
    }
    bool save(TRS &rs, const QString &file)
    {
        QString error;
        const bool ok = rs.SaveToFile(file, &error);
        if (!error.isEmpty())
            errors << error;
        return ok;
    }
    void TearDown() override { EXPECT_TRUE(messages.Messages().empty()); }
};

TEST_F(RsFile, SmallestSheetHasTheDocumentedLayout)
{
    TRS rs;
    rs.SetLayout(1, 1, 210, 297, 0, 0, 0, 0, 0, 0, clYellow);
    ASSERT_TRUE(save(rs, path("klein.rsd")));
    const QByteArray b = readFile(path("klein.rsd"));
    const int names = int(rs.UserName.size() + rs.ComputerName.size());
    EXPECT_EQ(b.size(), 140 + 8 + names + 5 + 55); // 216 bytes with names of 4 characters
    EXPECT_EQ(b.left(22), QByteArray("RUECKENSCHILD_00000004"));
    EXPECT_EQ(rs.UserName, platform::ToAnsi(platform::LoginName()));
    // The field record begins after the names and the column record.
    const int field = 140 + 8 + names + 5;
    EXPECT_EQ(b.mid(field + 20, 9), QByteArray("\x05\0\0\0Arial", 9));
    EXPECT_EQ(b.mid(b.size() - 4), QByteArray(4, '\0')); // empty text
    EXPECT_FALSE(rs.Modified);
    EXPECT_EQ(rs.FileName, path("klein.rsd"));
}

TEST_F(RsFile, RoundTripKeepsEveryValueAndEveryByte)
{
    TRS rs;
    fillSheet(rs);
    rs.Modified = true;
    ASSERT_TRUE(save(rs, path("a.rsd")));
    EXPECT_FALSE(rs.Modified);

    TRS back;
    back.Modified = true;
    int version = 0;
    ASSERT_TRUE(load(back, path("a.rsd"), &version));
    EXPECT_EQ(version, 4);
    EXPECT_TRUE(back.Modified); // reading leaves the flag alone
    EXPECT_EQ(back.ColumnCount, 3);
    EXPECT_DOUBLE_EQ(back.Reserved2, -2.25);
    EXPECT_EQ(back.ColumnLineStyle, 5);
    EXPECT_EQ(back.GetColumn(1)->BackgroundColor, 0x345678);
    EXPECT_TRUE(back.GetColumn(1)->BackgroundOn);
    const TRSObject *t = back.GetField(0, 0);
    EXPECT_EQ(t->Text, rs.GetField(0, 0)->Text);
    EXPECT_EQ(t->FontName, "Liberation Serif");
    EXPECT_DOUBLE_EQ(t->FontHeight, 7.123456789);
    EXPECT_EQ(t->FontStyle, 7);
    EXPECT_EQ(t->Alignment, 2);
    EXPECT_EQ(t->BackgroundColor, 0xABCDEF);
    EXPECT_DOUBLE_EQ(t->X1, rs.GetField(0, 0)->X1);
    EXPECT_EQ(back.GetField(0, 1)->Kind, 0);
    EXPECT_EQ(back.GetField(0, 1)->Text, "unsichtbar gespeichert");
    ASSERT_TRUE(back.GetField(1, 0)->Picture);
    EXPECT_EQ(back.GetField(1, 0)->Picture->ToImage().pixel(4, 2), qRgb(1, 2, 3));
    EXPECT_FALSE(back.GetField(1, 1)->Picture);
    ASSERT_TRUE(back.GetField(2, 0)->Picture);
    EXPECT_TRUE(back.GetField(2, 0)->Picture->IsMetafile());
    EXPECT_EQ(back.GetField(2, 1)->Kind, 5);
    // Picture fields carry no text part: the constructor's values.
    EXPECT_EQ(back.GetField(1, 0)->FontName, "Arial");

    ASSERT_TRUE(save(back, path("b.rsd")));
    EXPECT_EQ(readFile(path("a.rsd")), readFile(path("b.rsd")));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(RsFile, CorpusBitmapsEmbeddedInALabelFileComeBackByteForByte)
{
    // Build a label file by hand whose fields hold the corpus bitmaps as streams.
    const QStringList names = {"g/pal1.bmp",    "g/pal4.bmp",      "g/pal8.bmp",
                               "g/pal8v5.bmp",  "g/rgb16-565.bmp", "g/rgb24.bmp",
                               "g/rgb32bf.bmp", "g/pal8os2.bmp",   "g/pal8rle.bmp"};
    Bytes b;
    b.sheet("RUECKENSCHILD_00000004", 1, int(names.size()));
    b.i32(0).u8(1).i32(0).u8(1).str("Tom").str("pc01").u8(0).i32(0x8000);
    for (const QString &n : names) {
        b.fieldLead(2).i32(0xFFFFFF).i32(1);
        b.b.append(readFile(CorpusPath("bmp/" + n)));
    }
    writeFile(path("bmp.rsd"), b.b);
    TRS rs;
    ASSERT_TRUE(load(rs, path("bmp.rsd"))) << errors.join("|").toStdString();
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(rs.GetField(0, i)->Picture) << names[i].toStdString();
        EXPECT_EQ(rs.GetField(0, i)->Picture->Width(), 127);
    }
    // The writer puts today's names in; everything after them is unchanged.
    ASSERT_TRUE(save(rs, path("bmp2.rsd")));
    const QByteArray out = readFile(path("bmp2.rsd"));
    const int inTail = 140 + 4 + 3 + 4 + 4,
              outTail = 140 + 8 + int(rs.UserName.size() + rs.ComputerName.size());
    EXPECT_EQ(out.left(140), b.b.left(140));
    EXPECT_EQ(out.mid(outTail), b.b.mid(inTail));
}

TEST_F(RsFile, OldVersionsKeepWhatTheSheetHeldBefore)
{
    Bytes v1;
    v1.sheet("RUECKENSCHILD_00000001", 2, 1);
    for (int c = 0; c < 2; ++c)
        v1.fieldLead(1).textPart("", "alt");
    writeFile(path("v1.rsd"), v1.b);

    TRS rs;
    rs.RowLineColor = 0x010203;
    rs.UserName = "vorher";
    ASSERT_TRUE(load(rs, path("v1.rsd")));
    EXPECT_EQ(rs.RowLineColor, 0x010203);
    EXPECT_EQ(rs.UserName, "vorher");
    EXPECT_EQ(rs.BackgroundColor, 0x0000FF);
    EXPECT_DOUBLE_EQ(rs.ColumnWidth, 6.0); // stored, not recomputed
    const TRSObject *f = rs.GetField(1, 0);
    EXPECT_EQ(f->Text, "alt");
    EXPECT_EQ(f->FontName, "Arial"); // empty name
    EXPECT_EQ(f->BackgroundColor, 0xFFFFFF);
    EXPECT_DOUBLE_EQ(f->Angle, 90);
    EXPECT_FALSE(rs.GetColumn(0)->BackgroundOn);

    // Version 9 is read with the version 4 layout.
    Bytes v9;
    v9.sheet("RUECKENSCHILD_00000009", 1, 1).i32(0x10).u8(2).i32(0x20).u8(3).str("u").str("c");
    v9.u8(1).i32(0x99).fieldLead(1).i32(0x777777).textPart("Arial", "neu");
    writeFile(path("v9.rsd"), v9.b);
    int version = 0;
    ASSERT_TRUE(load(rs, path("v9.rsd"), &version));
    EXPECT_EQ(version, 9);
    EXPECT_EQ(rs.UserName, "u");
    EXPECT_EQ(rs.ColumnLineStyle, 3);
    EXPECT_EQ(rs.GetColumn(0)->BackgroundColor, 0x99);
    EXPECT_EQ(rs.GetField(0, 0)->BackgroundColor, 0x777777);
    EXPECT_EQ(rs.GetField(0, 0)->Text, "neu");
}

TEST_F(RsFile, WrongHeadersAreRefusedWithTheirMessage)
{
    TRS rs;
    rs.SetLayout(2, 2, 100, 100, 0, 0, 0, 0, 0, 0, clYellow);
    rs.GetField(0, 0)->Text = "bleibt";

    const struct {
        const char *header;
        const char *message;
    } cases[] = {
        {"RUECKENSCHILX_00000004", "Falsche Datei: RUECKENSCHILX"},
        {"RUECKENSCHILD_00000000", "Falsche Datei: 00000000"},
        {"RUECKENSCHILD_0000004A", "'0000004A' ist kein gültiger Integerwert"},
    };
    for (const auto &c : cases) {
        errors.clear();
        Bytes b;
        b.sheet(c.header, 1, 1);
        writeFile(path("falsch.rsd"), b.b);
        EXPECT_FALSE(load(rs, path("falsch.rsd"))) << c.header;
        ASSERT_EQ(errors.size(), 1) << c.header;
        EXPECT_EQ(errors[0], QString::fromUtf8(c.message));
        EXPECT_EQ(rs.GetField(0, 0)->Text, "bleibt");
    }
    // A file shorter than the header.
    errors.clear();
    writeFile(path("falsch.rsd"), "RUECK");
    EXPECT_FALSE(load(rs, path("falsch.rsd")));
    EXPECT_EQ(errors, QStringList{"Falsche Datei: RUECK"});

    errors.clear();
    EXPECT_FALSE(load(rs, path("gibt-es-nicht.rsd")));
    EXPECT_TRUE(errors.join("").contains("wurde nicht gefunden"));
}

TEST_F(RsFile, OddFieldRecordsAreReadAsStored)
{
    Bytes b;
    b.sheet("RUECKENSCHILD_00000003", 1, 4).i32(0).u8(0).i32(0).u8(0);
    b.u8(0).i32(0x8000);
    b.fieldLead(2).i32(0xFFFFFF).i32(7);                    // unknown picture kind: text field, nothing more
    b.fieldLead(2).i32(0xFFFFFF).i32(2).i32(4).raw("abcd"); // broken metafile
    b.fieldLead(9).i32(0xFFFFFF);                           // kind 9: nothing more
    b.fieldLead(1).i32(0xFFFFFF).textPart("Arial", "Ende");
    writeFile(path("odd.rsd"), b.b);
    TRS rs;
    ASSERT_TRUE(load(rs, path("odd.rsd")));
    EXPECT_EQ(rs.GetField(0, 0)->Kind, 1);
    EXPECT_TRUE(rs.GetField(0, 0)->Text.empty());
    EXPECT_EQ(rs.GetField(0, 1)->Kind, 2);
    EXPECT_FALSE(rs.GetField(0, 1)->Picture);
    EXPECT_EQ(rs.GetField(0, 2)->Kind, 9);
    EXPECT_EQ(rs.GetField(0, 3)->Text, "Ende");
    EXPECT_EQ(errors, QStringList{"Fehlerhafte Grafik"});
}

TEST_F(RsFile, DamagedFilesNeverChangeTheSheet)
{
    TRS good;
    fillSheet(good);
    ASSERT_TRUE(save(good, path("gut.rsd")));
    const QByteArray bytes = readFile(path("gut.rsd"));

    TRS rs;
    rs.SetLayout(1, 1, 10, 10, 0, 0, 0, 0, 0, 0, clYellow);
    rs.GetField(0, 0)->Text = "bleibt";
    // Every length short of the whole file is refused.
    for (int n = 22; n < bytes.size(); n += (n < 400 ? 1 : 37)) {
        writeFile(path("kurz.rsd"), bytes.left(n));
        errors.clear();
        ASSERT_FALSE(load(rs, path("kurz.rsd"))) << n;
        EXPECT_EQ(errors.size(), 1u) << n;
        EXPECT_EQ(rs.GetField(0, 0)->Text, "bleibt");
        EXPECT_EQ(rs.ColumnCount, 1);
    }
    // Random damage: no crash, and either a clean read or a refusal.
    QRandomGenerator gen(42);
    for (int round = 0; round < 300; ++round) {
        QByteArray bad = bytes;
        for (int k = 0; k < 4; ++k)
            bad[int(gen.bounded(22u, quint32(bad.size())))] = char(gen.generate());
        writeFile(path("kaputt.rsd"), bad);
        TRS other;
        if (!load(other, path("kaputt.rsd"))) {
            EXPECT_EQ(other.ColumnCount, 0);
        }
    }
}

TEST_F(RsFile, HostileCountsAndStringsAreRefusedCheaply)
{
    const struct {
        int cols, rows;
    } counts[] = {{0, 5}, {3, -1}, {100000, 100000}, {0x7FFFFFFF, 0x7FFFFFFF}, {1, 1000}};
    for (const auto &c : counts) {
        Bytes b;
        b.sheet("RUECKENSCHILD_00000004", c.cols, c.rows).i32(0).u8(0).i32(0).u8(0).str("a").str("b");
        b.u8(0).i32(0).fieldLead(0).i32(0).textPart("Arial", "x");
        writeFile(path("gross.rsd"), b.b);
        errors.clear();
        TRS rs;
        EXPECT_FALSE(load(rs, path("gross.rsd"))) << c.cols << "x" << c.rows;
        EXPECT_EQ(errors.size(), 1u);
    }
    Bytes s;
    s.sheet("RUECKENSCHILD_00000004", 1, 1).i32(0).u8(0).i32(0).u8(0).str(std::string(256, 'x'));
    writeFile(path("lang.rsd"), s.b);
    errors.clear();
    TRS rs;
    EXPECT_FALSE(load(rs, path("lang.rsd")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("255"));

    // A bitmap header claiming a huge picture in a tiny file.
    Bytes big;
    big.sheet("RUECKENSCHILD_00000004", 1, 1).i32(0).u8(0).i32(0).u8(0).str("a").str("b").u8(0).i32(0);
    big.fieldLead(2).i32(0).i32(1).raw("BM").i32(0).i32(0).i32(54).i32(40).i32(30000).i32(30000);
    big.u8(1).u8(0).u8(24).u8(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
    writeFile(path("bild.rsd"), big.b);
    errors.clear();
    EXPECT_FALSE(load(rs, path("bild.rsd")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("Grafik in Spalte 1, Reihe 1"));
}

TEST_F(RsFile, LongTextsAreCutSoThatTheFileReadsBack)
{
    TRS rs;
    rs.SetLayout(1, 1, 10, 10, 0, 0, 0, 0, 0, 0, clYellow);
    rs.GetField(0, 0)->Text = std::string(300, 'a');
    ASSERT_TRUE(save(rs, path("lang.rsd")));
    TRS back;
    ASSERT_TRUE(load(back, path("lang.rsd")));
    EXPECT_EQ(back.GetField(0, 0)->Text, std::string(255, 'a'));
}

TEST_F(RsFile, FailedSavesKeepTheOldFileAndSaySo)
{
    TRS rs;
    fillSheet(rs);
    ASSERT_TRUE(save(rs, path("alt.rsd")));
    const QByteArray before = readFile(path("alt.rsd"));
    rs.Modified = true;

    // The target is a folder: cannot be replaced.
    QDir(program.Path()).mkdir("ordner.rsd");
    errors.clear();
    EXPECT_FALSE(save(rs, path("ordner.rsd")));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Die Datei"));
    EXPECT_TRUE(rs.Modified);

    // A folder that does not exist.
    errors.clear();
    EXPECT_FALSE(save(rs, path("fehlt/neu.rsd")));
    EXPECT_EQ(errors.size(), 1);

    // Nothing but the finished files is left in the folder.
    EXPECT_EQ(QDir(program.Path()).entryList(QDir::Files | QDir::Hidden), QStringList({"alt.rsd"}));
}

TEST_F(RsFile, ReplacedFilesKeepTheirPermissionsAndLinks)
{
    TRS rs;
    fillSheet(rs);
    ASSERT_TRUE(save(rs, path("p.rsd")));
    ASSERT_TRUE(
        QFile::setPermissions(path("p.rsd"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::link(path("p.rsd"), path("link.rsd")));
    rs.GetField(0, 0)->Text = "neu";
    ASSERT_TRUE(save(rs, path("link.rsd")));
    EXPECT_TRUE(QFileInfo(path("link.rsd")).isSymLink());
    EXPECT_EQ(QFile::permissions(path("p.rsd")) & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    TRS back;
    ASSERT_TRUE(load(back, path("p.rsd")));
    EXPECT_EQ(back.GetField(0, 0)->Text, "neu");
}

// A save killed half-way leaves its temporary file; the next save of the
// same target removes it, but nothing a running save holds and nothing of
// another name.
TEST_F(RsFile, TheNextSaveRemovesTemporaryFilesOfKilledSaves)
{
    TRS rs;
    fillSheet(rs);
    const QStringList others = {".alt.rsd.0000000g.tmp", ".alt.rsd.123.tmp", ".andere.rsd.0badcafe.tmp",
                                "alt.rsd.0badcafe.tmp"};
    for (const QString &name : others + QStringList{".alt.rsd.0badcafe.tmp", ".alt.rsd.1234abcd.tmp"})
        writeFile(path(name), QByteArray(1000, 'x'));
    // A save still running holds its file.
    const int held = ::open(QFile::encodeName(path(".alt.rsd.1234abcd.tmp")).constData(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(save(rs, path("alt.rsd")));
    ::close(held);
    EXPECT_FALSE(QFile::exists(path(".alt.rsd.0badcafe.tmp")));
    EXPECT_TRUE(QFile::exists(path(".alt.rsd.1234abcd.tmp")));
    for (const QString &name : others)
        EXPECT_TRUE(QFile::exists(path(name))) << name.toStdString();
}

TEST_F(RsFile, MeasuresThatAreNoNumbersMarkADamagedFile)
{
    TRS good;
    fillSheet(good);
    ASSERT_TRUE(save(good, path("gut.rsd")));
    const QByteArray bytes = readFile(path("gut.rsd"));
    for (int offset : {34, 106}) { // PageWidth, FieldSpacing
        QByteArray bad = bytes;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        std::memcpy(bad.data() + offset, &nan, 8);
        writeFile(path("nan.rsd"), bad);
        errors.clear();
        TRS rs;
        EXPECT_FALSE(load(rs, path("nan.rsd"))) << offset;
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("ungültige Maße"));
    }
}
