// TForm1: start, settings, file commands, the status bar's page texts and
// the tool bar's column and row commands.
#include "app/mainwindow.h"
#include "app/status_panels.h"

#include "app/shell_commands.h"
#include "controls/MUVButton.h"
#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"
#include "dialogs/druck.h"
#include "document/output.h"
#include "model/settings_places.h"
#include "model/undobj.h"
#include "platform/codepage.h"
#include "platform/file_dialogs.h"
#include "platform/ini.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/system.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>

namespace
{
const QString kSaveQuestion =
    QStringLiteral("Die Rückenschilddaten wurden geändert.\r\n\r\nMöchten Sie diese jetzt speichern ?");
const QString kFilter = QStringLiteral("Rückenschilddaten (*.rsd)|*.rsd");

QString withSlash(const QString &folder)
{
    return (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) ? folder : folder + QLatin1Char('/');
}
bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}
} // namespace

// ------------------------------------------------------------------- start

QString TForm1::OwnFilesFolder() const
{
    // An installed program's folder is no place for the user's label files.
    return FilesBesideProgram() ? document_->ProgramFolder : withSlash(QDir::homePath());
}

void TForm1::ReadSettings()
{
    const TSettings s = ReadProgramSettings();
    if (!s.FileExists)
        return;
    document_->DataFolder = s.DataFolder;
    document_->LineFactor = s.LineFactor;
    document_->PictureFolder = s.PictureFolder;
    ShowPageInfo = s.ShowPageInfo;
}

TSettings TForm1::Settings() const
{
    TSettings s;
    s.DataFolder = document_->DataFolder;
    s.PictureFolder = document_->PictureFolder;
    s.LineFactor = document_->LineFactor;
    s.ShowPageInfo = ShowPageInfo;
    return s;
}

void TForm1::WriteSettings()
{
    const QString path = SettingsPath();
    if (path.isEmpty())
        return;
    ::WriteSettings(path, Settings());
}

void TForm1::FirstStart()
{
    platform::ShowWarning(QStringLiteral(
        "Es ist noch kein Ablageordner für die Rückenschilddaten definiert.\r\n\r\n"
        "Bitte wählen Sie nachfolgend einen Pfad aus, in dem die Daten\r\ngespeichert werden."));
    folderBrowser_.Execute(OwnFilesFolder());
    const QString chosen = folderBrowser_.SelectedFolder;
    if (!isFolder(chosen)) {
        // Written at the close like every setting, so the next start does not ask again.
        document_->DataFolder = OwnFilesFolder();
    } else {
        document_->DataFolder = chosen;
        if (const QString path = SettingsPath(); !path.isEmpty())
            WriteDataFolder(path, Settings());
    }
    if (platform::ShowSystem(
            QStringLiteral("   Möchten Sie eine Verknüpfung zu Dorlix     \r\n   auf dem Desktop anlegen?"),
            QStringLiteral("Frage...."), platform::MsgIcon::Question,
            platform::MsgButtons::YesNo) == platform::mrYes)
        ::mm_lnkdsktpClick();
}

void TForm1::FormShow()
{
    if (shown_)
        return;
    shown_ = true;
    document_->LineFactor = canvas::kDefaultLineFactor;
    document_->DataFolder.clear();
    document_->PictureFolder = OwnFilesFolder();
    ShowPageInfo = false;
    ReadSettings();
    canvas_->ShowPageInfos(ShowPageInfo);
    panels_[7]->setText(platform::LoginName());
    panels_[8]->setText(platform::ComputerName());
    if (document_->DataFolder.isEmpty())
        FirstStart();
    document_->DataFolder = withSlash(document_->DataFolder);
    if (isFolder(document_->DataFolder))
        QDir::setCurrent(document_->DataFolder);

    document_->Undo().SetUser(platform::LoginName());
    document_->SetFileName(QStringLiteral("unbenannt.rsd"), QString());

    // Without a window manager a maximise request alone changes nothing.
    if (QScreen *s = screen())
        setGeometry(s->availableGeometry());
    showMaximized();
    UpdateCaption();
    SyncRulers();
    if (!startFile_.isEmpty())
        OpenDocument(startFile_, false); // the printer was just asked
}

// ------------------------------------------------------------ file commands

bool TForm1::SaveQuestion()
{
    if (!document_->Sheet().Modified)
        return true;
    const int answer = platform::Confirm(kSaveQuestion, platform::MsgButtons::YesNoCancel);
    if (answer == platform::mrCancel)
        return false;
    if (answer == platform::mrYes)
        btn_saveClick();
    return true;
}

void TForm1::btn_openClick()
{
    TMUVButton *button = Button(QStringLiteral("btn_open"));
    button->setDown(true);
    if (SaveQuestion()) {
        platform::FileDialogRequest r;
        r.kind = platform::FileDialogRequest::Open;
        r.title = QStringLiteral("Rückenschild öffnen");
        r.filter = kFilter;
        r.defaultSuffix = QStringLiteral("rsd");
        if (isFolder(document_->DataFolder)) {
            QDir::setCurrent(document_->DataFolder);
            r.startFolder = document_->DataFolder;
            r.fileName = document_->DataFolder + QStringLiteral("*.rsd");
        }
        // The preview is hidden while the dialog is up; a cancelled dialog
        // shows the unchanged sheet again.
        const bool wasVisible = canvas_->isVisible();
        SetCanvasVisible(false);
        const QString path = platform::ExecuteFileDialog(this, r);
        if (!path.isEmpty())
            OpenDocument(path);
        if (!canvas_->isVisible() && wasVisible)
            SetCanvasVisible(true);
        UpdateCommandStates();
    }
    button->setDown(false);
}

void TForm1::OpenDocument(const QString &path, bool askPrinter)
{
    QString error;
    const bool opened = document_->Open(path, &error);
    if (!opened) {
        platform::ShowError(error);
        return;
    }
    if (!error.isEmpty())
        platform::ShowPlain(error);
    ReadPrinterPage(askPrinter);
    FormResize();
    SetCanvasVisible(true);
    document_->Opened();
    previewCaption_->setText(PreviewHelpCaption());
    UpdateCommandStates();
}

void TForm1::FollowSheetOrientation()
{
    platform::Printer::Instance().SetOrientation(SheetOrientation(document_->Sheet()));
}

void TForm1::ReadPrinterPage(bool askPrinter)
{
    FollowSheetOrientation();
    if (askPrinter)
        platform::Printer::Instance().Refresh();
    const platform::PrinterPage page = PrinterPageFor(document_->Sheet());
    canvas_->SetPageSetup(page.setup);
    if (!page.message.isEmpty())
        platform::ShowPlain(page.message);
}

void TForm1::btn_saveClick()
{
    TMUVButton *button = Button(QStringLiteral("btn_save"));
    button->setDown(true);
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Save;
    r.title = QStringLiteral("Rückenschild speichern");
    r.filter = kFilter;
    r.defaultSuffix = QStringLiteral("rsd");
    if (isFolder(document_->DataFolder)) {
        r.startFolder = isFolder(document_->Folder()) ? document_->Folder() : document_->DataFolder;
        QDir::setCurrent(r.startFolder);
    }
    r.fileName = document_->FileName();
    const QString path = platform::ExecuteFileDialog(this, r);
    QString error;
    if (!path.isEmpty() && !document_->Save(path, &error))
        platform::ShowError(error);
    button->setDown(false);
}

void TForm1::btn_printClick()
{
    if (!canvas_->isVisible())
        return;
    TMUVButton *button = Button(QStringLiteral("btn_print"));
    button->setDown(true);
    {
        // The dialog and the job compose pages of their own; the window's
        // page stays as it is.
        TForm_druck dialog(*document_, this);
        connect(&dialog, &TForm_druck::PrinterChanged, this, &TForm1::StatusPageText);
        if (dialog.exec() == QDialog::Accepted)
            dialog.PrintJob();
    }
    // The page is composed again after printing, which marks the sheet as
    // modified as after every composition.
    document_->Commit(false);
    canvas_->update();
    button->setDown(false);
}

void TForm1::btn_undoClick()
{
    if (!canvas_->isVisible())
        return;
    QString error;
    if (!document_->UndoStep(&error) && !error.isEmpty())
        platform::ShowError(error);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool close = true;
    if (document_->Sheet().Modified) {
        const int answer = platform::Confirm(kSaveQuestion, platform::MsgButtons::YesNoCancel);
        if (answer == platform::mrCancel) {
            close = false;
        } else if (answer == platform::mrYes) {
            btn_saveClick();
            close = platform::Confirm(QStringLiteral("Programm nun beenden ?"),
                                      platform::MsgButtons::YesNo) == platform::mrYes;
        }
    }
    // The settings are written at every close request, also a cancelled one.
    WriteSettings();
    if (close)
        event->accept();
    else
        event->ignore();
}

// ------------------------------------------------------- following changes

void TForm1::DocumentChanged()
{
    if (fieldHighlight_)
        fieldHighlight_->hide();
    UpdateCommandStates();
    StatusPageText();
    scrollBox_->setFocus();
}

void TForm1::StatusPageText()
{
    const platform::Printer &printer = platform::Printer::Instance();
    QString name = printer.PrinterName();
    if (name.isEmpty())
        name = QStringLiteral("kein Drucker");
    panels_[10]->setText(name + QStringLiteral(", Blattgröße: "));
    statusPanels_->SetPanelWidth(10, QFontMetrics(font()).horizontalAdvance(panels_[10]->text()) + 25);
    panels_[7]->setText(platform::FromAnsi(document_->Sheet().UserName));
    panels_[8]->setText(platform::FromAnsi(document_->Sheet().ComputerName));
    const QLocale locale;
    auto whole = [&](double v) { return locale.toString(v, 'f', 0).rightJustified(2, QLatin1Char(' ')); };
    panels_[11]->setText(
        QStringLiteral("b×h = %1 × %2 mm; (%3)")
            .arg(whole(canvas_->PageWidthMm()), whole(canvas_->PageHeightMm()), canvas_->PaperName()));
}

// ----------------------------------------------------- columns and rows

void TForm1::btn_spaltenlinksClick()
{
    document_->Sheet().ShiftColumns(true);
    document_->Commit(true);
}

void TForm1::btn_spaltenrechtsClick()
{
    document_->Sheet().ShiftColumns(false);
    document_->Commit(true);
}

void TForm1::btn_obenClick()
{
    document_->Sheet().ShiftRows(true);
    document_->Commit(true);
}

void TForm1::btn_untenClick()
{
    document_->Sheet().ShiftRows(false);
    document_->Commit(true);
}

void TForm1::btn_spaltekopierenClick()
{
    document_->Sheet().CopyFirstColumn();
    document_->Commit(true);
}

// ------------------------------------------------------------ desktop

void TForm1::mm_openrsdClick()
{
    ::mm_openrsdClick();
}

void TForm1::mm_lnkdsktpClick()
{
    ::mm_lnkdsktpClick();
}

void TForm1::mm_DatablageClick()
{
    ::mm_DatablageClick(document_->DataFolder, OwnFilesFolder(), folderBrowser_);
}
