#pragma once
// The list options of "dorlix-cli pdf" and "dorlix-cli print":
//   (--data LISTE | --count N [--first K]) [--start N] [--order zeilen|spalten] [--fit]
// Without --data or --count the sheet is output as it is.

#include "document/merge.h"
#include "model/data_list.h"

#include <QCommandLineOption>

class QCommandLineParser;
class TRS;

class CliMergeOptions
{
  public:
    CliMergeOptions();
    void AddTo(QCommandLineParser &parser) const;
    // Takes the options' values from a parser that has parsed; false after
    // the German reason was printed.
    bool Read(const QCommandLineParser &parser);
    // Whether the command fills the sheet from a list or a count.
    bool Wanted() const { return wanted_; }
    // Reads the list and prepares the merge for the sheet; false after the
    // German reason was printed. Nothing is output then.
    bool Prepare(const TRS &sheet);
    const TMerge &Merge() const { return merge_; }

    static const char *Usage();

  private:
    QCommandLineOption data_, count_, first_, start_, order_, fit_;
    bool wanted_ = false;
    QString listPath_;
    TMergeSource source_;
    TMergeOptions options_;
    TDataList list_;
    TMerge merge_;
};
