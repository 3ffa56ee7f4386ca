#pragma once
// TDocument: the open label sheet and everything the commands share about it.
//
// It owns the sheet (TRS, one object for the whole run: new and opened sheets
// reuse it), the undo store, the file name and folder, the per-run settings
// (folders, line factor, format template) and the composed page (TDPage, the
// printer page with both element layers). Every change of the sheet ends in
// Commit: it writes the undo snapshot when asked, composes the sheet into the
// page, marks the sheet as modified and emits Changed. The views (canvas,
// status bar, rulers, dialog previews) follow Changed; nobody else composes
// the sheet.
//
// How a dialog works with it (dialogs receive the document, never the main
// window):
//   - read and change the live sheet: Sheet(), Sheet().GetField(c, r) ...
//   - after a change the user confirmed: Commit(true)   (snapshot + preview)
//   - a live preview while the dialog is open: Commit(false)
//   - keep a field before editing it: auto saved = SaveField(c, r);
//     on cancel: RestoreField(c, r, *saved) (writes it back, Commit(false))
//   - step back: UndoStep(); forward again: RedoStep()
//   - the text element a field got on the page: FieldElement(c, r),
//     FieldElementInfo(c, r, info) (measured block size, e.g. for text width
//     fitting)
//   - the commands on fields, columns and rows and the text width fitting
//     are functions of the document and a field position
//     (document/field_commands.h, document/text_width.h)
//   - the page itself for previews: Page().RenderToBitmap(...),
//     Page().Draw(painter, target); printing and files: document/output.h
//   - Changed(bool undoable) fires after every Commit, NameChanged after the
//     file name changed.

#include "canvas/dpaintbox.h"
#include "document/compose.h"
#include "document/merge.h"
#include "model/rs.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class TDataList;
class TRSUndo;

class TDocument : public QObject
{
    Q_OBJECT

  public:
    explicit TDocument(QObject *parent = nullptr);
    ~TDocument() override;

    // --- The sheet and its store ------------------------------------------
    TRS &Sheet() { return *sheet_; }
    const TRS &Sheet() const { return *sheet_; }
    TRSUndo &Undo() { return *undo_; }
    const TRSUndo &Undo() const { return *undo_; }

    bool Modified() const { return sheet_->Modified; }
    void SetModified(bool modified) { sheet_->Modified = modified; }

    // File name without folder ("unbenannt.rsd" until saved or opened) and
    // the folder it was read from or written to (empty until then).
    const QString &FileName() const { return fileName_; }
    const QString &Folder() const { return folder_; }
    void SetFileName(const QString &name, const QString &folder);

    // --- Settings of the run shared by the commands ----------------------
    QString ProgramFolder; // with a trailing "/"
    QString DataFolder;    // with a trailing "/" once set
    QString PictureFolder; // without a trailing "/"
    double LineFactor = canvas::kDefaultLineFactor;
    TRSObject FormatTemplate; // what format paste applies

    TComposeSettings ComposeSettings() const { return TComposeSettings{LineFactor}; }

    // The list last read for labels from a list (null: none yet), kept for
    // the field editor's placeholders and the next use of that dialog.
    std::shared_ptr<const TDataList> MergeList;
    QString MergeListName;
    // The fill order last chosen there; pasted lists follow it too.
    TFillOrder FillOrder = TFillOrder::Rows;

    // --- The page and where it is shown ----------------------------------
    canvas::TDPage &Page() { return page_; }
    const canvas::TDPage &Page() const { return page_; }
    // The canvas that views the page and repaints after every Commit (null:
    // none). The canvas must outlive the document or be unset first.
    void SetCanvas(TDPaintbox *canvas);
    TDPaintbox *Canvas() const { return canvas_; }

    // --- Changes -----------------------------------------------------------
    // After every change of the sheet: with undoable an undo snapshot is
    // written first; then the page is composed, the sheet is marked modified
    // and Changed is emitted.
    void Commit(bool undoable);
    // Reads the previous snapshot back into the sheet and commits without a
    // snapshot. False when there was none to read, or it could not be read
    // (then *error holds the German message).
    bool UndoStep(QString *error = nullptr);
    // Reads the snapshot the last undo stepped back from, as long as no
    // change came after it, and commits without a snapshot. False (and
    // nothing changes) when there is none.
    bool RedoStep(QString *error = nullptr);
    // A copy of field (column, row) with its frame, to restore later; null
    // when the field does not exist.
    std::unique_ptr<TRSObject> SaveField(int column, int row) const;
    // Writes a saved copy back into field (column, row) and commits without
    // a snapshot.
    void RestoreField(int column, int row, const TRSObject &saved);

    // --- Files ---------------------------------------------------------------
    // Reads a label file into the sheet. On success the name and folder
    // follow the file, the undo store starts afresh (its first snapshot is
    // taken by Opened); the caller prepares the page and then calls Opened.
    // *error receives the German message of a failure, or after a success a
    // notice the user should still see (empty when there is none).
    bool Open(const QString &path, QString *error = nullptr);
    // After an opened or new sheet is shown: composes it, takes the first
    // undo snapshot and clears Modified.
    void Opened();
    // Writes the sheet; on success name and folder follow the file and
    // Modified is cleared. On failure nothing changes and *error receives
    // the German message.
    bool Save(const QString &path, QString *error = nullptr);

    // --- The composed page ---------------------------------------------
    // The text element field (column, row) got in the last Commit, -1 if none.
    int FieldElement(int column, int row) const { return fieldElements_.Element(column, row); }
    const TFieldElements &FieldElements() const { return fieldElements_; }
    // Element info of that text element; false when the field has none.
    bool FieldElementInfo(int column, int row, canvas::ElementInfo &info) const;

  signals:
    void Changed(bool undoable);
    void NameChanged();

  private:
    std::unique_ptr<TRS> sheet_;
    std::unique_ptr<TRSUndo> undo_;
    QString fileName_ = QStringLiteral("unbenannt.rsd");
    QString folder_;
    canvas::TDPage page_;
    QPointer<TDPaintbox> canvas_;
    QMetaObject::Connection canvasRepaint_;
    TFieldElements fieldElements_;
};
