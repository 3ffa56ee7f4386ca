#pragma once
// TDataList: a list of records to fill into labels, read from the text a
// spreadsheet writes as "CSV" or copies to the clipboard.
//
// The first line holds the headings; the separator (";", "," or tab) is the
// one the heading line uses most. Quoted values may hold separators, line
// breaks and doubled quotes. A text without any separator in its first line
// is a plain list: one value a line, no headings, its one column is {1}.
// The text is UTF-8 (with or without BOM), UTF-16 with BOM, or else
// Windows-1252, what a German spreadsheet writes.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

// Bounds that keep a hostile or mistaken file from taking the machine.
constexpr std::size_t kMaxDataListRecords = 100000;
constexpr int kMaxDataListColumns = 1000;
constexpr qint64 kMaxDataListBytes = 64 * 1024 * 1024;

class TDataList
{
  public:
    // Headings in file order; empty for a plain list (its column is {1}).
    QStringList Headings;
    // One entry per record; every record has ColumnCount() values.
    std::vector<QStringList> Records;

    int ColumnCount() const { return columns_; }
    std::size_t RecordCount() const { return Records.size(); }

    // The column (0-based) whose heading is name, compared without regard to
    // case and surrounding blanks; -1 when none is.
    int ColumnOf(const QString &name) const;
    // The value of a record's column; empty for a column it lacks.
    QString Value(std::size_t record, int column) const;
    // "Name, Vorname, Ort" or "{1}" for a plain list: for messages.
    QString HeadingsText() const;

    // Reads the text of a list. False with the German reason in error for a
    // text that is no usable list (unclosed quote, no records, too large).
    bool ReadText(const QByteArray &bytes, QString *error);
    // The same for text already decoded (the clipboard's).
    bool ReadString(const QString &text, QString *error);
    // The same for a file; error names it.
    bool ReadFile(const QString &path, QString *error);

  private:
    int columns_ = 0;
};

// Decodes the bytes of a text file: BOM-marked UTF-8 or UTF-16, valid UTF-8,
// otherwise Windows-1252.
QString DecodeListText(const QByteArray &bytes);
