// The label file: reading and writing a sheet.
#include "model/picture.h"
#include "model/rs.h"
#include "model/rsio.h"
#include "model/safe_file.h"

#include "platform/codepage.h"
#include "platform/syserror.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <unordered_map>

namespace
{

const char kMagic[] = "RUECKENSCHILD";
constexpr std::size_t kMagicLength = 13;
constexpr std::size_t kHeaderLength = 22;

// Minimum bytes of one field record: the leading values, and for kinds 3 and
// more nothing else.
std::size_t minFieldBytes(int version)
{
    return 16 + (version >= 3 ? 4 : 0);
}
std::size_t minColumnBytes(int version)
{
    return version >= 2 ? 5 : 0;
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Parses a whole number the way the original program did: optional blanks,
// an optional sign, then decimal digits or "$" and hexadecimal digits.
bool parseVersion(const std::string &text, int &value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v * base + digit;
        if (v > 0x7FFFFFFFLL)
            return false;
    }
    value = int(negative ? -v : v);
    return true;
}

} // namespace

// ------------------------------------------------------------------ records

void TRSObject::LoadFromStream(TRSReader &s, int version)
{
    LinesTopBottom = s.Bool();
    LinesLeftRight = s.Bool();
    LineColor = s.Int32();
    LineWidth = s.Measure();
    Visible = s.Bool();
    Kind = s.Byte();
    if (version >= 3)
        BackgroundColor = s.Int32();

    if (Kind == 0 || Kind == 1) {
        FontName = s.String();
        if (FontName.empty())
            FontName = "Arial";
        FontColor = s.Int32();
        FontHeight = s.Measure();
        FontStyle = s.Byte();
        Alignment = s.Byte();
        Angle = s.Measure();
        Text = s.String();
    } else if (Kind == 2) {
        const std::int32_t pictureKind = s.Int32();
        if (pictureKind == 0) {
            Picture.reset();
        } else if (pictureKind == 1) {
            QString error;
            std::size_t consumed = 0;
            Picture = TPicture::FromBmpStream(s.Here(), s.Remaining(), TBmpMode::Embedded, &consumed, &error);
            if (!Picture)
                throw TRSReadError{TRSReadError::BadBitmap, error};
            s.Skip(consumed);
        } else if (pictureKind == 2) {
            Picture.reset();
            const std::int32_t size = s.Int32();
            if (size < 0)
                throw TRSReadError{TRSReadError::Truncated, {}};
            s.Need(std::size_t(size));
            TBytes block(s.Here(), s.Here() + size);
            s.Skip(std::size_t(size));
            Picture = TPicture::FromMetafileBytes(std::move(block), nullptr);
            if (!Picture)
                s.Note(QStringLiteral("Fehlerhafte Grafik"));
        } else {
            Kind = 1;
            Picture.reset();
        }
    }
}

void TRSObject::SaveToStream(TRSWriter &s) const
{
    s.Bool(LinesTopBottom);
    s.Bool(LinesLeftRight);
    s.Int32(LineColor);
    s.Double(LineWidth);
    s.Bool(Visible);
    s.Byte(Kind);
    s.Int32(BackgroundColor);
    if (Kind == 0 || Kind == 1) {
        s.String(FontName);
        s.Int32(FontColor);
        s.Double(FontHeight);
        s.Byte(FontStyle);
        s.Byte(Alignment);
        s.Double(Angle);
        s.String(Text);
    } else if (Kind == 2) {
        if (!Picture) {
            s.Int32(0);
        } else if (Picture->IsMetafile()) {
            s.Int32(2);
            s.Int32(std::int32_t(Picture->Bytes().size()));
            s.Bytes(Picture->Bytes().data(), Picture->Bytes().size());
        } else if (Picture->IsBitmap()) {
            s.Int32(1);
            s.Bytes(Picture->Bytes().data(), Picture->Bytes().size());
        } else {
            // A photo not yet turned into a bitmap is stored as one.
            const auto bitmap = TPicture::FromImage(Picture->ToImage());
            s.Int32(1);
            s.Bytes(bitmap->Bytes().data(), bitmap->Bytes().size());
        }
    }
}

void TRSSpalte::LoadFromStream(TRSReader &s, int version)
{
    if (version >= 2) {
        BackgroundOn = s.Bool();
        BackgroundColor = s.Int32();
    }
    for (auto &field : Fields)
        field->LoadFromStream(s, version);
}

void TRSSpalte::SaveToStream(TRSWriter &s) const
{
    s.Bool(BackgroundOn);
    s.Int32(BackgroundColor);
    for (const auto &field : Fields)
        field->SaveToStream(s);
}

// -------------------------------------------------------------------- files

// Fields that hold the same picture (a logo on every label) share one copy:
// the file stores each field's bytes, but the picture is decoded, scaled and
// embedded in a PDF only once.
static void shareEqualPictures(TRS &sheet)
{
    std::unordered_map<std::size_t, std::vector<const TPicture *>> seen;
    for (const auto &column : sheet.Columns)
        for (const auto &field : column->Fields) {
            if (!field || !field->Picture)
                continue;
            const TBytes &bytes = field->Picture->Bytes();
            const std::size_t key =
                qHashBits(bytes.data(), bytes.size()) ^ std::size_t(field->Picture->GetKind());
            auto &candidates = seen[key];
            const TPicture *same = nullptr;
            for (const TPicture *c : candidates)
                if (c->GetKind() == field->Picture->GetKind() && c->Bytes() == bytes) {
                    same = c;
                    break;
                }
            if (same)
                field->Picture = same->Clone();
            else
                candidates.push_back(field->Picture.get());
        }
}

bool TRS::LoadFromFile(const QString &path, int *versionOut, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("\"%1\" ist ein Ordner, keine Datei.").arg(nativePath(path)));
    if (!info.exists())
        return fail(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(nativePath(path)));
    FileName = path;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden.\r\n%2")
                        .arg(nativePath(path), platform::SystemErrorText(file.errorString())));
    // Mapped rather than read: large picture sheets are only copied once,
    // into their pictures.
    const qint64 fileSize = file.size();
    const uchar *mapped = fileSize > 0 ? file.map(0, fileSize) : nullptr;
    QByteArray content;
    if (mapped) {
        content = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(fileSize));
    } else {
        content = file.readAll();
        if (file.error() != QFile::NoError)
            return fail(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.\r\n%2")
                            .arg(nativePath(path), platform::SystemErrorText(file.errorString())));
    }

    return LoadFromBytes(reinterpret_cast<const std::uint8_t *>(content.constData()),
                         std::size_t(content.size()), path, versionOut, error);
}

bool TRS::LoadFromBytes(const std::uint8_t *data, std::size_t size, const QString &path, int *versionOut,
                        QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (error)
        error->clear();
    FileName = path;
    // The header: 22 bytes read into a zeroed buffer, as a text up to the first zero.
    char header[kHeaderLength + 1] = {};
    if (size > 0)
        std::memcpy(header, data, std::min<std::size_t>(kHeaderLength, size));
    const std::string head(header);
    const std::string compared = head.substr(0, kMagicLength);
    int version = 0;
    std::string versionText;
    if (compared == kMagic) {
        versionText = head.size() > kMagicLength + 1 ? head.substr(kMagicLength + 1) : std::string();
        if (!parseVersion(versionText, version))
            return fail(
                QStringLiteral("'%1' ist kein gültiger Integerwert").arg(platform::FromAnsi(versionText)));
    }
    if (versionOut)
        *versionOut = version;
    if (version <= 0)
        return fail(QStringLiteral("Falsche Datei: ") +
                    platform::FromAnsi(compared == kMagic ? versionText : compared));
    const int layout = std::min(version, kRsdVersion);

    TRSReader s(data, size);
    // Values an older version does not carry keep what this sheet holds.
    TRS sheet;
    sheet.CopyValuesFrom(*this);
    std::int32_t column = -1, row = -1;
    try {
        s.Skip(kHeaderLength);
        sheet.ColumnCount = s.Int32();
        sheet.RowCount = s.Int32();
        sheet.BackgroundColor = s.Int32();
        sheet.PageWidth = s.Measure();
        sheet.PageHeight = s.Measure();
        sheet.MarginLeft = s.Measure();
        sheet.MarginRight = s.Measure();
        sheet.MarginTop = s.Measure();
        sheet.MarginBottom = s.Measure();
        sheet.ColumnGap = s.Measure();
        sheet.ColumnWidth = s.Measure();
        sheet.ColumnHeight = s.Measure();
        sheet.FieldSpacing = s.Measure();
        sheet.Reserved1 = s.Double();
        sheet.Reserved2 = s.Double();
        if (layout >= 2) {
            sheet.RowLineColor = s.Int32();
            sheet.RowLineStyle = s.Byte();
            sheet.ColumnLineColor = s.Int32();
            sheet.ColumnLineStyle = s.Byte();
        }
        if (layout >= 4) {
            sheet.UserName = s.String();
            sheet.ComputerName = s.String();
        }

        if (sheet.ColumnCount < 1 || sheet.RowCount < 1)
            return fail(QStringLiteral("Die Datei \"%1\" ist beschädigt:\r\n"
                                       "ungültige Anzahl von Spalten oder Reihen (%2 × %3).")
                            .arg(nativePath(path))
                            .arg(sheet.ColumnCount)
                            .arg(sheet.RowCount));
        // Counts beyond what a sheet may hold are refused before anything is
        // built; the limits keep the product far from any overflow.
        if (!GridCountsAllowed(sheet.ColumnCount, sheet.RowCount))
            return fail(QStringLiteral("Die Datei \"%1\" ist beschädigt:\r\n"
                                       "zu viele Spalten oder Reihen (%2 × %3; erlaubt sind "
                                       "höchstens %4 Spalten, %5 Reihen und %6 Felder).")
                            .arg(nativePath(path))
                            .arg(sheet.ColumnCount)
                            .arg(sheet.RowCount)
                            .arg(kMaxColumns)
                            .arg(kMaxRows)
                            .arg(kMaxFields));
        // Every field takes some bytes: counts that cannot fit into the rest
        // of the file are refused before anything is built.
        const std::uint64_t cols = std::uint64_t(sheet.ColumnCount), rows = std::uint64_t(sheet.RowCount);
        const std::uint64_t least = cols * (minColumnBytes(layout) + rows * minFieldBytes(layout));
        if (least > s.Remaining())
            throw TRSReadError{TRSReadError::Truncated, {}};

        sheet.BuildGrid();
        for (column = 0; column < sheet.ColumnCount; ++column) {
            TRSSpalte &c = *sheet.Columns[std::size_t(column)];
            row = -1;
            if (layout >= 2) {
                c.BackgroundOn = s.Bool();
                c.BackgroundColor = s.Int32();
            }
            for (row = 0; row < sheet.RowCount; ++row)
                c.Fields[std::size_t(row)]->LoadFromStream(s, layout);
        }
    } catch (const TRSReadError &e) {
        QString why;
        switch (e.kind) {
        case TRSReadError::Truncated:
            why = QStringLiteral("Die Datei ist unvollständig (sie endet zu früh).");
            break;
        case TRSReadError::BadNumber:
            why = QStringLiteral("Sie enthält ungültige Maße.");
            break;
        case TRSReadError::StringTooLong:
            why = QStringLiteral("Ein Text ist länger als 255 Zeichen.");
            break;
        case TRSReadError::BadBitmap:
            why = QStringLiteral("Die Grafik in Spalte %1, Reihe %2 ist fehlerhaft: %3")
                      .arg(column + 1)
                      .arg(row + 1)
                      .arg(e.detail);
            break;
        }
        return fail(QStringLiteral("Die Datei \"%1\" ist beschädigt und kann nicht gelesen werden.\r\n%2")
                        .arg(nativePath(path), why));
    }

    shareEqualPictures(sheet);
    TakeContentFrom(sheet);
    FileName = path;
    if (error)
        *error = s.Notice();
    return true;
}

bool TRS::SaveToFile(const QString &path, QString *error)
{
    auto failed = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.\r\n%2")
                         .arg(nativePath(path), reason);
        return false;
    };

    // The folder the file goes into decides, whatever the program's own
    // folder is.
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (folder.isDir() && !folder.isWritable())
        return failed(QStringLiteral("In den Ordner \"%1\" darf nicht geschrieben werden.")
                          .arg(nativePath(folder.absoluteFilePath())));

    // Written beside the target and put in its place only when complete, so
    // that a failed save never destroys the file it would replace.
    TSafeFile file(path);
    if (!file.Open())
        return failed(file.ErrorString());

    const std::string user = platform::ToAnsi(platform::LoginName());
    const std::string computer = platform::ToAnsi(platform::ComputerName());
    {
        TRSWriter s(file.Device());
        char header[kHeaderLength + 1];
        std::snprintf(header, sizeof header, "%s_%08d", kMagic, kRsdVersion);
        s.Bytes(header, kHeaderLength);
        s.Int32(ColumnCount);
        s.Int32(RowCount);
        s.Int32(BackgroundColor);
        for (double v : {PageWidth, PageHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, ColumnGap,
                         ColumnWidth, ColumnHeight, FieldSpacing, Reserved1, Reserved2})
            s.Double(v);
        s.Int32(RowLineColor);
        s.Byte(RowLineStyle);
        s.Int32(ColumnLineColor);
        s.Byte(ColumnLineStyle);
        s.String(user);
        s.String(computer);
        // Exactly ColumnCount columns of RowCount fields, whatever the grid
        // holds, so that the file always reads back.
        TRSObject emptyField;
        emptyField.Kind = 0;
        for (std::int32_t i = 0; i < ColumnCount; ++i) {
            const TRSSpalte *c = GetColumn(i);
            s.Bool(c ? c->BackgroundOn : false);
            s.Int32(c ? c->BackgroundColor : clGreen);
            for (std::int32_t j = 0; j < RowCount; ++j) {
                const TRSObject *f = c ? c->GetField(j) : nullptr;
                (f ? *f : emptyField).SaveToStream(s);
            }
        }
        s.Flush();
        if (s.Failed()) {
            const QString reason = file.ErrorString();
            file.Cancel();
            return failed(reason);
        }
    }
    if (!file.Commit())
        return failed(file.ErrorString());

    FileName = path;
    UserName = user;
    ComputerName = computer;
    Modified = false;
    return true;
}
