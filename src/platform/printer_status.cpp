#include "platform/printer_status.h"

#include <array>
#include <initializer_list>
#include <string_view>

namespace platform
{

namespace
{

// One row of the status table: its text, the queue state that shows it (if
// any) and the reason keywords (without severity suffix) that show it.
struct StatusRow {
    const char16_t *text;
    QueueState state;
    std::initializer_list<std::string_view> reasons;
    bool unreachable = false; // also shown when the device takes no connection
};

// The rows in the order in which their texts are listed. Rows without a
// matching CUPS state or reason are kept so that the order stays the one of
// the program's status list; they never apply.
const std::array<StatusRow, 25> &StatusTable()
{
    static const std::array<StatusRow, 25> table{{
        {u" Drucker befindet sich im Pause-Zustand.", QueueState::Stopped, {"paused", "moving-to-paused"}},
        {u" Status kann nicht abgerufen werden!", QueueState::Unknown, {}},
        {u" PENDING DELETION", QueueState::Unknown, {}},
        {u" Papierstau!", QueueState::Unknown, {"media-jam"}},
        {u" Kein Papier mehr vorhanden!", QueueState::Unknown, {"media-empty", "media-needed"}},
        {u" Der Einzug weist einen Fehler auf!", QueueState::Unknown, {"input-tray-missing"}},
        {u" Problem mit dem Papier!", QueueState::Unknown, {}},
        // "connecting-to-device" stays while the device cannot be reached.
        {u" Drucker ist offline (ausgeschaltet!)",
         QueueState::Unknown,
         {"offline", "shutdown", "connecting-to-device"},
         true},
        {u" Datenaustausch eingeleitet.", QueueState::Unknown, {}},
        {u" Drucker ist beschäftigt!", QueueState::Unknown, {}},
        {u" Druckvorgang läuft.", QueueState::Processing, {}},
        {u" Arbeitsspeicher ist ausgelastet!", QueueState::Unknown, {}},
        {u" Keine Antwort vom Drucker-Port!", QueueState::Unknown, {"timed-out"}},
        {u" Wartezustand...", QueueState::Unknown, {}},
        {u" Daten werden verarbeitet.", QueueState::Unknown, {}},
        {u" Druckvorgang gestartet.", QueueState::Unknown, {}},
        {u" Initialisierungsphase beendet.", QueueState::Unknown, {}},
        {u" Patronenstand ist niedrig!",
         QueueState::Unknown,
         {"marker-supply-low", "toner-low", "marker-ink-almost-empty", "developer-low"}},
        {u" Keine Tinte mehr vorhanden!",
         QueueState::Unknown,
         {"marker-supply-empty", "toner-empty", "marker-ink-empty", "developer-empty"}},
        {u" Problem mit dem Seiten-Punt!", QueueState::Unknown, {}},
        {u" User hat den Druckvorgang manuell abgebrochen.", QueueState::Unknown, {}},
        {u" Nicht genügend Speicherkapazität!", QueueState::Unknown, {"spool-area-full"}},
        {u" Druckerschacht ist noch offen!",
         QueueState::Unknown,
         {"door-open", "cover-open", "interlock-open"}},
        {u" Unbekannter Druckserver!", QueueState::Unknown, {}},
        {u" Drucker im Energiesparmodus.", QueueState::Unknown, {}},
    }};
    return table;
}

} // namespace

QString PrinterUnavailableText()
{
    return QStringLiteral("Drucker nicht verfügbar!");
}

QString BareReason(const QString &reason)
{
    for (const QLatin1StringView suffix :
         {QLatin1StringView("-report"), QLatin1StringView("-warning"), QLatin1StringView("-error")}) {
        if (reason.size() > suffix.size() && reason.endsWith(suffix))
            return reason.left(reason.size() - suffix.size());
    }
    return reason;
}

QStringList StatusTexts(const PrinterStatus &status)
{
    QStringList bare;
    for (const QString &reason : status.reasons) {
        const QString r = BareReason(reason.trimmed().toLower());
        if (!r.isEmpty() && r != QLatin1StringView("none"))
            bare << r;
    }
    QStringList texts;
    for (const StatusRow &row : StatusTable()) {
        bool applies = (row.state != QueueState::Unknown && row.state == status.state) ||
                       (row.unreachable && status.deviceUnreachable);
        for (const std::string_view reason : row.reasons)
            applies = applies || bare.contains(QLatin1StringView(reason.data(), qsizetype(reason.size())));
        if (applies)
            texts << QString::fromUtf16(row.text);
    }
    return texts;
}

QString StatusQuestionText(const PrinterStatus &status)
{
    if (!status.answered)
        return PrinterUnavailableText();
    return StatusTexts(status).join(QString());
}

} // namespace platform
