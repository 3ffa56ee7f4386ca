#pragma once
// The printed page as a vector PDF, and the calibration page that shows how
// far a printer shifts its print.

#include <QSizeF>
#include <QString>

namespace canvas
{
class TDPage;
}

// "A4", "Letter" or "WxHmm" (10 ... 2000 mm each) in millimetres.
bool ParsePaperSize(const QString &text, QSizeF *mm);

// Draws the page (with its background layer when the page shows it) onto a
// PDF page of the given paper, origin at the paper's corner. The file at out
// is replaced only when the whole PDF was written; error holds the German
// reason otherwise.
bool WritePagePdf(const canvas::TDPage &page, QSizeF paperMm, const QString &out, const QString &title,
                  QString *error);
