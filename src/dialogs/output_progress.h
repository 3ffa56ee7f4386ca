#pragma once
// How far a long output has come: a window that appears once the output
// takes longer than half a second and says "Seite 3 von 42". Files can be
// stopped with "Abbrechen" (the file is then left as it was); a print job
// is handed over whole, so printing only shows how far it is.

#include "document/output.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

class TOutputProgressWindow
{
  public:
    TOutputProgressWindow(QWidget *parent, const QString &title, bool stoppable);
    ~TOutputProgressWindow();
    TOutputProgressWindow(const TOutputProgressWindow &) = delete;
    TOutputProgressWindow &operator=(const TOutputProgressWindow &) = delete;

    // The callback for WritePdf or PrintPages; valid while the window lives.
    TOutputProgress Progress();

  private:
    std::unique_ptr<QProgressDialog> dialog_;
};
