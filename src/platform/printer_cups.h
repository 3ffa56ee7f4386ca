#pragma once
// The questions the program asks the CUPS scheduler about a queue.
//
// Everything the page and the print dialog need about one queue (state,
// location, default paper with its margins, resolution, the papers it knows)
// comes from one Get-Printer-Attributes request that asks for exactly these
// attributes. The queue list is asked for only where a dialog shows it.

#include "platform/printer_status.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace platform
{

// A paper in hundredths of a millimetre, as IPP gives it.
struct CupsPaper {
    QString pwgName; // "iso_a4_210x297mm"; empty when only the size is known
    int width = 0, height = 0;
    int left = 0, right = 0, top = 0, bottom = 0; // unprintable margins
    bool IsValid() const { return width > 0 && height > 0; }
};

struct CupsQueueInfo {
    QString name;
    PrinterStatus status;
    CupsPaper paper;        // the queue's default paper
    QStringList papers;     // media-supported: the PWG names of its papers
    int dpiX = 0, dpiY = 0; // default resolution; 0 when not reported
    bool color = true;      // false for a printer that prints only black
    // The queue writes PDF files (CUPS-PDF) instead of putting ink on paper:
    // its pages can have any orientation, and the file's viewer turns a page
    // by the direction of its text unless the text comes as outlines.
    bool writesFiles = false;
    QString deviceUri;
};

// The default queue as the user or the system set it without asking the
// scheduler: LPDEST, PRINTER, then the user's and the system's lpoptions
// ("Default" lines). Empty when none of them names one.
QString LocalDefaultQueueName();

// Asks the scheduler about the queue (empty name: the default queue). One
// request. False when the scheduler cannot be reached or knows no such queue
// (or, for the default, when no queue is the default one).
bool QueryCupsQueue(const QString &name, CupsQueueInfo *out);

// The start's first question, asked ahead: called on the main thread before
// the window is built, it returns the work that asks the scheduler about the
// default queue (as LocalDefaultQueueName() names it, else the scheduler's
// default), to be run on another thread. The first QueryCupsQueue() for that
// queue then waits for this answer instead of asking again. Returns nothing
// when the question was already begun.
std::function<void()> BeginDefaultQueuePrefetch();

// Whether the printer behind a queue's device URI takes a network connection
// within the time. Only network printers (AppSocket, IPP, LPD, HTTP) are
// tried; for every other device (USB, files, …) the answer is true.
bool DeviceAnswers(const QString &deviceUri, int timeoutMs);

// Size of a PWG media name in hundredths of a millimetre; false for names
// without a size ("custom_min_…" ranges count as no paper).
bool CupsPaperSize(const QString &pwgName, int *width, int *height);

// Number of requests this process has sent to the scheduler (for the
// start-up benchmark and tests that keep the printing questions few).
int CupsRequestCount();

} // namespace platform
