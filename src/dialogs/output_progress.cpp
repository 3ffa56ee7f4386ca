#include "dialogs/output_progress.h"

#include <QProgressDialog>

TOutputProgressWindow::TOutputProgressWindow(QWidget *parent, const QString &title, bool stoppable)
    : dialog_(std::make_unique<QProgressDialog>(parent))
{
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(500);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    if (stoppable)
        dialog_->setCancelButtonText(QStringLiteral("Abbrechen"));
    else
        dialog_->setCancelButton(nullptr);
    dialog_->setRange(0, 0);
    dialog_->setValue(0);
}

TOutputProgressWindow::~TOutputProgressWindow() = default;

TOutputProgress TOutputProgressWindow::Progress()
{
    return [this](int done, int total) {
        if (total > 0 && dialog_->maximum() != total)
            dialog_->setRange(0, total);
        dialog_->setLabelText(total > 0 ? QStringLiteral("Seite %L1 von %L2 …").arg(done).arg(total)
                                        : QStringLiteral("Seite %L1 …").arg(done));
        // Shows the window when it is due and keeps the program's windows
        // drawn while the pages are made.
        dialog_->setValue(total > 0 ? std::min(done, total) : 0);
        return !dialog_->wasCanceled();
    };
}
