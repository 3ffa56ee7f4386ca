#include "cli_merge.h"
#include "cli.h"

#include <QCommandLineParser>

namespace
{
// The last value of an option given as a whole number within [min, max].
bool number(const QCommandLineParser &parser, const QCommandLineOption &option, qint64 min, qint64 max,
            qint64 *value)
{
    const QString text = parser.values(option).back().trimmed();
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < min || n > max) {
        CliError(QStringLiteral("Ungültiger Wert für --%1: \"%2\" (erlaubt: %L3 bis %L4)")
                     .arg(option.names().constFirst(), text)
                     .arg(min)
                     .arg(max));
        return false;
    }
    *value = n;
    return true;
}
} // namespace

CliMergeOptions::CliMergeOptions()
    : data_(QStringLiteral("data"), QString(), QStringLiteral("LISTE")),
      count_(QStringLiteral("count"), QString(), QStringLiteral("N")),
      first_(QStringLiteral("first"), QString(), QStringLiteral("K")),
      start_(QStringLiteral("start"), QString(), QStringLiteral("N")),
      order_(QStringLiteral("order"), QString(), QStringLiteral("ORDNUNG")), fit_(QStringLiteral("fit"))
{
}

const char *CliMergeOptions::Usage()
{
    return " [(--data LISTE | --count N [--first K]) [--start N] [--order zeilen|spalten] [--fit]]";
}

void CliMergeOptions::AddTo(QCommandLineParser &parser) const
{
    parser.addOptions({data_, count_, first_, start_, order_, fit_});
}

bool CliMergeOptions::Read(const QCommandLineParser &parser)
{
    wanted_ = parser.isSet(data_) || parser.isSet(count_);
    if (parser.isSet(data_) && parser.isSet(count_)) {
        CliError(QStringLiteral("--data und --count schließen einander aus."));
        return false;
    }
    if (parser.isSet(first_) && !parser.isSet(count_)) {
        CliError(QStringLiteral("--first gilt nur zusammen mit --count."));
        return false;
    }
    if (!wanted_ && (parser.isSet(start_) || parser.isSet(order_) || parser.isSet(fit_))) {
        CliError(QStringLiteral("--start, --order und --fit gelten nur zusammen mit --data oder --count."));
        return false;
    }
    if (parser.isSet(data_)) {
        listPath_ = parser.values(data_).back();
    } else if (parser.isSet(count_)) {
        qint64 count = 0, first = 1;
        if (!number(parser, count_, 1, kMaxMergeCount, &count) ||
            (parser.isSet(first_) && !number(parser, first_, 0, 999999999, &first)))
            return false;
        source_.Count = count;
        source_.First = first;
    }
    if (parser.isSet(start_)) {
        qint64 start = 1;
        if (!number(parser, start_, 1, 1000000, &start))
            return false;
        options_.StartLabel = int(start);
    }
    if (parser.isSet(order_)) {
        const QString order = parser.values(order_).back().trimmed().toLower();
        if (order == QLatin1String("zeilen")) {
            options_.Order = TFillOrder::Rows;
        } else if (order == QLatin1String("spalten")) {
            options_.Order = TFillOrder::Columns;
        } else {
            CliError(QStringLiteral("Ungültige Reihenfolge: \"%1\" (erlaubt: zeilen, spalten)")
                         .arg(parser.values(order_).back()));
            return false;
        }
    }
    options_.Fit = parser.isSet(fit_);
    return true;
}

bool CliMergeOptions::Prepare(const TRS &sheet)
{
    QString error;
    if (!listPath_.isEmpty()) {
        if (!list_.ReadFile(listPath_, &error)) {
            CliError(error);
            return false;
        }
        source_.List = &list_;
    }
    if (!merge_.Prepare(sheet, source_, options_, &error)) {
        CliError(error);
        return false;
    }
    return true;
}
