#include "document/document.h"

#include "model/undobj.h"

#include <QFileInfo>

TDocument::TDocument(QObject *parent)
    : QObject(parent), sheet_(std::make_unique<TRS>()), undo_(std::make_unique<TRSUndo>())
{
    // The standard format of the format paste.
    FormatTemplate.Kind = 1;
    FormatTemplate.Visible = true;
    FormatTemplate.Alignment = 0;
    FormatTemplate.FontHeight = 5.2;
}

TDocument::~TDocument()
{
    SetCanvas(nullptr);
}

void TDocument::SetFileName(const QString &name, const QString &folder)
{
    fileName_ = name;
    folder_ = folder;
    emit NameChanged();
}

void TDocument::SetCanvas(TDPaintbox *canvas)
{
    if (canvas_) {
        disconnect(canvasRepaint_);
        canvas_->SetPage(nullptr);
    }
    canvas_ = canvas;
    if (canvas_) {
        canvas_->SetPage(&page_);
        canvasRepaint_ = connect(this, &TDocument::Changed, canvas_, [canvas] { canvas->Redraw(); });
    }
}

void TDocument::Commit(bool undoable)
{
    if (undoable)
        undo_->Push(sheet_.get());
    fieldElements_ = ComposeSheet(*sheet_, page_, ComposeSettings());
    sheet_->Modified = true;
    emit Changed(undoable);
}

bool TDocument::UndoStep(QString *error)
{
    // The page is composed again also when there was nothing to read back.
    const bool undone = undo_->Undo(sheet_.get(), error);
    Commit(false);
    return undone;
}

bool TDocument::RedoStep(QString *error)
{
    if (!undo_->CanRedo())
        return false;
    const bool redone = undo_->Redo(sheet_.get(), error);
    Commit(false);
    return redone;
}

std::unique_ptr<TRSObject> TDocument::SaveField(int column, int row) const
{
    const TRSObject *field = sheet_->GetField(column, row);
    if (!field)
        return nullptr;
    auto copy = std::make_unique<TRSObject>();
    copy->Assign(field, true);
    return copy;
}

void TDocument::RestoreField(int column, int row, const TRSObject &saved)
{
    if (TRSObject *field = sheet_->GetField(column, row))
        field->Assign(&saved, true);
    Commit(false);
}

bool TDocument::Open(const QString &path, QString *error)
{
    if (!sheet_->LoadFromFile(path, nullptr, error))
        return false;
    const QFileInfo info(path);
    undo_->Clear();
    SetFileName(info.fileName(), info.absolutePath());
    return true;
}

void TDocument::Opened()
{
    Commit(false);
    undo_->Push(sheet_.get());
    sheet_->Modified = false;
}

bool TDocument::Save(const QString &path, QString *error)
{
    if (!sheet_->SaveToFile(path, error))
        return false;
    const QFileInfo info(path);
    sheet_->Modified = false;
    SetFileName(info.fileName(), info.absolutePath());
    return true;
}

bool TDocument::FieldElementInfo(int column, int row, canvas::ElementInfo &info) const
{
    const int n = fieldElements_.Element(column, row);
    if (n < 0)
        return false;
    page_.GetElementInfo(1, n, info);
    return info.kind == canvas::TDruckTyp::Text;
}
