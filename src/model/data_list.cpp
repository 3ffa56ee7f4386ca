#include "model/data_list.h"

#include "platform/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace
{

// Every value costs some tens of bytes in memory; this keeps a list within
// a few hundred megabytes whatever its shape.
constexpr std::size_t kMaxDataListCells = 8 * 1000 * 1000;

QString tooLarge()
{
    return QStringLiteral("Die Liste ist zu groß: höchstens %L1 Datensätze, %L2 Spalten und %L3 MB.")
        .arg(qulonglong(kMaxDataListRecords))
        .arg(kMaxDataListColumns)
        .arg(kMaxDataListBytes / (1024 * 1024));
}

// The separator the heading line uses most, quotes skipped; 0 when it uses
// none. A tie goes to tab, then ";", then ",".
QChar findSeparator(const QString &text)
{
    const std::array<QChar, 3> candidates{QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    std::array<int, 3> counts{0, 0, 0};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted)
            for (std::size_t i = 0; i < candidates.size(); ++i)
                if (c == candidates[i])
                    ++counts[i];
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i)
        if (counts[i] > counts[best])
            best = i;
    return counts[best] > 0 ? candidates[best] : QChar();
}

bool allEmpty(const QStringList &values)
{
    for (const QString &v : values)
        if (!v.trimmed().isEmpty())
            return false;
    return true;
}

// Splits the text into rows of values. False with the reason in error.
bool splitRows(const QString &text, QChar separator, std::vector<QStringList> &rows, QString *error)
{
    const QChar *p = text.constData();
    const QChar *const end = p + text.size();
    QStringList row;
    QString value;
    std::size_t cells = 0;
    int line = 1;
    bool atValueStart = true;
    bool quoted = false;
    int quoteLine = 0;

    auto endValue = [&]() -> bool {
        if (row.size() < kMaxDataListColumns)
            row.append(value);
        value.clear();
        atValueStart = true;
        return ++cells <= kMaxDataListCells;
    };
    auto endRow = [&]() -> bool {
        if (!endValue())
            return false;
        rows.push_back(std::move(row));
        row = QStringList();
        return rows.size() <= kMaxDataListRecords + 1;
    };

    while (p < end) {
        const QChar c = *p++;
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (p < end && *p == QLatin1Char('"')) {
                    value.append(c);
                    ++p;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                value.append(c);
            }
            continue;
        }
        if (c == QLatin1Char('"') && atValueStart && !separator.isNull()) {
            quoted = true;
            quoteLine = line;
            atValueStart = false;
        } else if (!separator.isNull() && c == separator) {
            if (!endValue()) {
                *error = tooLarge();
                return false;
            }
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && p < end && *p == QLatin1Char('\n'))
                ++p;
            ++line;
            if (!endRow()) {
                *error = tooLarge();
                return false;
            }
        } else {
            value.append(c);
            atValueStart = false;
        }
    }
    if (quoted) {
        *error = QStringLiteral("In Zeile %1 ist ein Anführungszeichen nicht geschlossen.").arg(quoteLine);
        return false;
    }
    if (!atValueStart || !row.isEmpty()) {
        if (!endRow()) {
            *error = tooLarge();
            return false;
        }
    }
    return true;
}

} // namespace

QString DecodeListText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return platform::FromAnsi(bytes.constData(), bytes.size());
}

int TDataList::ColumnOf(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (int i = 0; i < Headings.size(); ++i)
        if (Headings[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString TDataList::Value(std::size_t record, int column) const
{
    if (record >= Records.size() || column < 0)
        return QString();
    const QStringList &values = Records[record];
    return column < values.size() ? values[column] : QString();
}

QString TDataList::HeadingsText() const
{
    if (Headings.isEmpty())
        return QStringLiteral("{1}");
    QStringList shown;
    for (int i = 0; i < Headings.size(); ++i)
        shown.append(Headings[i].isEmpty() ? QStringLiteral("{%1}").arg(i + 1) : Headings[i]);
    return shown.join(QStringLiteral(", "));
}

bool TDataList::ReadText(const QByteArray &bytes, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    if (bytes.size() > kMaxDataListBytes) {
        why = tooLarge();
        return false;
    }
    return ReadString(DecodeListText(bytes), &why);
}

bool TDataList::ReadString(const QString &text, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    if (text.size() > kMaxDataListBytes) {
        why = tooLarge();
        return false;
    }
    const QChar separator = findSeparator(text);

    std::vector<QStringList> rows;
    if (!splitRows(text, separator, rows, &why))
        return false;

    TDataList list;
    std::size_t first = 0;
    if (!separator.isNull()) {
        for (; first < rows.size() && list.Headings.isEmpty(); ++first)
            if (!allEmpty(rows[first]))
                for (const QString &h : rows[first])
                    list.Headings.append(h.trimmed());
        // Trailing empty headings come from separators at the line's end.
        while (!list.Headings.isEmpty() && list.Headings.last().isEmpty())
            list.Headings.removeLast();
        list.columns_ = int(list.Headings.size());
    } else {
        list.columns_ = 1;
    }
    for (std::size_t i = first; i < rows.size(); ++i) {
        QStringList &values = rows[i];
        if (allEmpty(values))
            continue;
        if (values.size() > list.columns_)
            values.erase(values.begin() + list.columns_, values.end());
        list.Records.push_back(std::move(values));
    }
    if (list.Records.empty()) {
        why = QStringLiteral("Die Liste enthält keine Datensätze.");
        return false;
    }
    if (list.Records.size() > kMaxDataListRecords) {
        why = tooLarge();
        return false;
    }
    *this = std::move(list);
    return true;
}

bool TDataList::ReadFile(const QString &path, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("Die Liste \"%1\" kann nicht geöffnet werden.").arg(name);
        return false;
    }
    // Read one byte more than allowed, so a larger file is noticed without
    // trusting a size that a pipe or special file may not report.
    const QByteArray bytes = file.read(kMaxDataListBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        why = QStringLiteral("Die Liste \"%1\" kann nicht gelesen werden.").arg(name);
        return false;
    }
    QString reason;
    if (!ReadText(bytes, &reason)) {
        why = QStringLiteral("Die Liste \"%1\" kann nicht verwendet werden.\r\n%2").arg(name, reason);
        return false;
    }
    return true;
}
