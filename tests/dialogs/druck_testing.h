#pragma once
// A document with a canvas for the print dialog's tests, opened from one of
// the example sheets, and the dialog on it.

#include "canvas/dpaintbox.h"
#include "dialogs/druck.h"
#include "document/document.h"
#include "model/rs.h"
#include "platform/printer.h"

#include <QString>

#include <memory>

struct PrintFixture {
    explicit PrintFixture(const QString &example = QStringLiteral("ordner-4-spalten.rsd"))
    {
        document.SetCanvas(&canvas);
        opened = document.Open(QStringLiteral(DORLIX_SOURCE_DIR "/examples/") + example);
        // As the window opens a file: the printer turned to the sheet.
        const TRS &sheet = document.Sheet();
        platform::Printer::Instance().SetOrientation(
            sheet.PageWidth > sheet.PageHeight ? QPageLayout::Landscape : QPageLayout::Portrait);
        canvas.SetPageSetup(PrinterPageFor(sheet).setup);
        document.Opened();
    }
    ~PrintFixture() { platform::Printer::Instance().SetOrientation(QPageLayout::Portrait); }

    TDPaintbox canvas;
    TDocument document;
    bool opened = false;
};
