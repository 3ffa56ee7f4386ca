#pragma once
// What a print queue reports about its printer, and the texts the print
// dialog shows for it before a job is sent.
//
// CUPS describes a printer by its state (idle, processing, stopped) and a
// list of reason keywords ("media-jam", "toner-low-warning", …). One table
// maps them onto the program's status texts.

#include <QString>
#include <QStringList>

namespace platform
{

// printer-state of a queue.
enum class QueueState { Unknown = 0, Idle = 3, Processing = 4, Stopped = 5 };

struct PrinterStatus {
    bool answered = false; // false: the queue could not be asked
    QueueState state = QueueState::Unknown;
    QStringList reasons; // printer-state-reasons as the queue reports them
    QString location;    // printer-location, may be empty
    // The queue's network printer did not take a connection when asked.
    bool deviceUnreachable = false;
};

// Text shown when a queue cannot be asked at all.
QString PrinterUnavailableText();

// A reason keyword without the severity suffix CUPS appends ("-report",
// "-warning", "-error").
QString BareReason(const QString &reason);

// The status texts that apply, in the order of the status table; empty when
// the printer reports nothing worth a question (ready, or only reasons the
// table does not know). Every text begins with a blank.
QStringList StatusTexts(const PrinterStatus &status);

// The text t of the question "Der Drucker meldet : " + t + …: every text of
// StatusTexts() one after the other, or PrinterUnavailableText() when the
// queue did not answer. Empty: nothing to ask.
QString StatusQuestionText(const PrinterStatus &status);

} // namespace platform
