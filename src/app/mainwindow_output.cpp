// TForm1: output besides printing: labels filled from a list and the sheet
// as a PDF file, both through the output path the print command uses.
#include "app/mainwindow.h"

#include "dialogs/serien.h"
#include "document/document.h"
#include "document/output.h"
#include "model/rs.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"

#include <QFileInfo>

void TForm1::mm_SerienClick()
{
    if (!canvas_->isVisible())
        return;
    TForm_serien dialog(*document_, this);
    dialog.exec();
    // Printing composes pages of its own; the window's page stays as it is.
    canvas_->update();
}

void TForm1::mm_PdfClick()
{
    if (!canvas_->isVisible())
        return;
    const TRS &sheet = document_->Sheet();
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Save;
    r.title = QStringLiteral("Als PDF speichern");
    r.filter = QStringLiteral("PDF-Dateien (*.pdf)|*.pdf");
    r.defaultSuffix = QStringLiteral("pdf");
    r.startFolder = document_->Folder().isEmpty() ? document_->DataFolder : document_->Folder();
    r.fileName = QFileInfo(document_->FileName()).completeBaseName() + QStringLiteral(".pdf");
    const QString path = platform::ExecuteFileDialog(this, r);
    if (path.isEmpty())
        return;
    // The page as printed: the printer's paper in the sheet's orientation,
    // without the background layer and without the printer's shift.
    const platform::PageSetup &paper = document_->Page().PageSetup();
    TSheetPages pages(sheet, document_->ComposeSettings(), TPrintOptions(), false);
    QString error;
    if (!WritePdf(pages, PdfPageSetup(QSizeF(paper.WidthMm(), paper.HeightMm())), path,
                  QFileInfo(document_->FileName()).completeBaseName(), &error))
        platform::ShowError(error);
}
