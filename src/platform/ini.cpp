#include "platform/ini.h"

#include "platform/codepage.h"
#include "platform/system.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>
#include <optional>
#include <vector>

namespace platform
{

namespace
{

struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    QString text;  // the line as it stands in the file
    QString name;  // section name or key
    QString value; // raw value of an entry, trimmed
};

using Lines = std::vector<Line>;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Line parseLine(const QString &text)
{
    Line line;
    line.text = text;
    const QString t = text.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return line;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Line::Section;
            line.name = t.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq > 0) {
        line.kind = Line::Entry;
        line.name = t.left(eq).trimmed();
        line.value = t.mid(eq + 1).trimmed();
    }
    return line;
}

// The lines of the file; a missing file has none. *readable becomes false
// when the file is there but cannot be read: writing then would lose it.
Lines load(const QString &fileName, bool *readable = nullptr)
{
    Lines lines;
    if (readable)
        *readable = true;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (readable && f.exists())
            *readable = false;
        return lines;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (readable)
            *readable = false;
        return lines;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    // Not UTF-8: a file of the Windows program, in its code page.
    if (utf8.hasError())
        text = FromAnsi(bytes.constData(), bytes.size());
    const QStringList split = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < split.size(); ++i) {
        QString s = split[i];
        if (s.endsWith(QLatin1Char('\r')))
            s.chop(1);
        if (i == split.size() - 1 && s.isEmpty())
            break; // the final line break
        lines.push_back(parseLine(s));
    }
    return lines;
}

bool save(const QString &fileName, const Lines &lines)
{
    QString text;
    for (const Line &l : lines)
        text += l.text + QLatin1Char('\n');
    // Written beside the file and put in its place only when complete, so
    // that a failed write never leaves half a settings file.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

// Index range [begin, end) of a section's lines after its header; nullopt
// when the section is missing.
struct Range {
    std::size_t header, begin, end;
};

std::optional<Range> findSection(const Lines &lines, const QString &section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Section || !sameName(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != Line::Section)
            ++end;
        return Range{i, i + 1, end};
    }
    return std::nullopt;
}

const Line *findEntry(const Lines &lines, const QString &section, const QString &key)
{
    const auto range = findSection(lines, section);
    if (!range)
        return nullptr;
    for (std::size_t i = range->begin; i < range->end; ++i)
        if (lines[i].kind == Line::Entry && sameName(lines[i].name, key))
            return &lines[i];
    return nullptr;
}

QString unquote(const QString &raw)
{
    if (raw.size() >= 2) {
        const QChar first = raw.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && raw.back() == first)
            return raw.mid(1, raw.size() - 2);
    }
    return raw;
}

// Values whose blanks at the ends or quotes would be lost on reading are
// written in double quotes.
QString quoteIfNeeded(const QString &value)
{
    if (value.isEmpty())
        return value;
    if (value.trimmed() != value || value != unquote(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

bool hasLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

bool validSection(const QString &section)
{
    return !section.isEmpty() && section.trimmed() == section && !hasLineBreak(section) &&
           !section.contains(QLatin1Char(']'));
}

bool validKey(const QString &key)
{
    return !key.isEmpty() && key.trimmed() == key && !hasLineBreak(key) && !key.contains(QLatin1Char('=')) &&
           !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';')) &&
           !key.startsWith(QLatin1Char('#'));
}

bool parseInteger(const QString &raw, int *value)
{
    QString t = raw.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(QLatin1Char('$'))) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty() || t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))
        return false;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    const qlonglong signedValue = negative ? -v : v;
    if (!ok || signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    *value = int(signedValue);
    return true;
}

} // namespace

TIniFile::TIniFile(const QString &fileName) : fileName_(fileName) {}

bool TIniFile::FileExists() const
{
    return QFile::exists(fileName_);
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const Lines lines = load(fileName_);
    const Line *entry = findEntry(lines, section, key);
    return entry ? unquote(entry->value) : def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int v = 0;
    return parseInteger(ReadString(section, key), &v) ? v : def;
}

double TIniFile::ReadFloat(const QString &section, const QString &key, double def) const
{
    double v = 0;
    return TextToFloat(ReadString(section, key), &v) ? v : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    int v = 0;
    return parseInteger(ReadString(section, key), &v) ? v != 0 : def;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (!validSection(section) || !validKey(key) || hasLineBreak(value))
        return false;
    bool readable = true;
    Lines lines = load(fileName_, &readable);
    if (!readable)
        return false;
    const QString stored = quoteIfNeeded(value);
    if (const auto range = findSection(lines, section)) {
        std::size_t insertAt = range->begin;
        for (std::size_t i = range->begin; i < range->end; ++i) {
            Line &l = lines[i];
            if (l.kind != Line::Entry)
                continue;
            if (sameName(l.name, key)) {
                l = parseLine(l.name + QLatin1Char('=') + stored);
                return save(fileName_, lines);
            }
            insertAt = i + 1;
        }
        lines.insert(lines.begin() + std::ptrdiff_t(insertAt), parseLine(key + QLatin1Char('=') + stored));
    } else {
        if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
            lines.push_back(parseLine(QString()));
        lines.push_back(parseLine(QLatin1Char('[') + section + QLatin1Char(']')));
        lines.push_back(parseLine(key + QLatin1Char('=') + stored));
    }
    return save(fileName_, lines);
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    return WriteString(section, key, FloatToText(value));
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString &section) const
{
    return findSection(load(fileName_), section).has_value();
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return findEntry(load(fileName_), section, key) != nullptr;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    const Lines lines = load(fileName_);
    if (const auto range = findSection(lines, section))
        for (std::size_t i = range->begin; i < range->end; ++i)
            if (lines[i].kind == Line::Entry)
                keys << lines[i].name;
    return keys;
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    bool readable = true;
    Lines lines = load(fileName_, &readable);
    if (!readable)
        return false;
    const auto range = findSection(lines, section);
    if (!range)
        return true;
    for (std::size_t i = range->begin; i < range->end; ++i)
        if (lines[i].kind == Line::Entry && sameName(lines[i].name, key)) {
            lines.erase(lines.begin() + std::ptrdiff_t(i));
            return save(fileName_, lines);
        }
    return true;
}

bool TIniFile::EraseSection(const QString &section)
{
    bool readable = true;
    Lines lines = load(fileName_, &readable);
    if (!readable)
        return false;
    bool erased = false;
    while (const auto range = findSection(lines, section)) {
        lines.erase(lines.begin() + std::ptrdiff_t(range->header),
                    lines.begin() + std::ptrdiff_t(range->end));
        erased = true;
    }
    return erased ? save(fileName_, lines) : true;
}

QString TIniFile::FloatToText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

bool TIniFile::TextToFloat(const QString &text, double *value)
{
    const QString t = text.trimmed();
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = locale.toDouble(t, &ok);
    if (!ok)
        v = c.toDouble(t, &ok);
    // A decimal comma from a German system read under another locale.
    if (!ok && !t.contains(QLatin1Char('.')))
        v = c.toDouble(QString(t).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace platform
