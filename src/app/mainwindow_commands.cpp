// TForm1: start, settings, file commands, composition and the tool bar's
// column and row commands.
#include "app/mainwindow.h"

#include "app/shell_commands.h"
#include "controls/MUVButton.h"
#include "controls/MUVPixelLineal.h"
#include "controls/MUVScrollBox.h"
#include "model/folder_check.h"
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

void TForm1::ReadSettings()
{
    platform::TIniFile ini(ProgramFolder + QStringLiteral("dorlix.ini"));
    if (!ini.FileExists())
        return;
    DataFolder = ini.ReadString(QStringLiteral("Pfad"), QStringLiteral("Daten"));
    LineFactor = ini.ReadFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), 1.1);
    PictureFolder = ini.ReadString(QStringLiteral("Pfad"), QStringLiteral("Bilder"), DataFolder);
    ShowPageInfo = ini.ReadBool(QStringLiteral("Optionen"), QStringLiteral("SeitenInfo"), false);
}

void TForm1::WriteSettings()
{
    if (!ProgramFolderCheck())
        return;
    platform::TIniFile ini(ProgramFolder + QStringLiteral("dorlix.ini"));
    ini.WriteString(QStringLiteral("Pfad"), QStringLiteral("Daten"), DataFolder);
    ini.WriteFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), LineFactor);
    ini.WriteString(QStringLiteral("Pfad"), QStringLiteral("Bilder"), PictureFolder);
    ini.WriteBool(QStringLiteral("Optionen"), QStringLiteral("SeitenInfo"), ShowPageInfo);
}

void TForm1::FirstStart()
{
    platform::ShowWarning(QStringLiteral(
        "Es ist noch kein Ablageordner für die Rückenschilddaten definiert.\r\n\r\n"
        "Bitte wählen Sie nachfolgend einen Pfad aus, in dem die Daten\r\ngespeichert werden."));
    folderBrowser_.Execute(ProgramFolder);
    const QString chosen = folderBrowser_.SelectedFolder;
    if (!isFolder(chosen)) {
        // Written at the close like every setting, so the next start does not ask again.
        DataFolder = ProgramFolder;
    } else {
        DataFolder = chosen;
        if (ProgramFolderCheck()) {
            platform::TIniFile ini(ProgramFolder + QStringLiteral("dorlix.ini"));
            ini.WriteString(QStringLiteral("Pfad"), QStringLiteral("Daten"), DataFolder);
            ini.WriteFloat(QStringLiteral("ZeilenHoehe"), QStringLiteral("Wert"), LineFactor);
        }
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
    LineFactor = 1.1;
    DataFolder.clear();
    PictureFolder = platform::ProgramFolder();
    ShowPageInfo = false;
    ReadSettings();
    canvas_->ShowPageInfos(ShowPageInfo);
    panels_[7]->setText(platform::LoginName());
    panels_[8]->setText(platform::ComputerName());
    if (DataFolder.isEmpty())
        FirstStart();
    DataFolder = withSlash(DataFolder);
    if (isFolder(DataFolder))
        QDir::setCurrent(DataFolder);

    sheet_ = std::make_unique<TRS>();
    undo_ = std::make_unique<TRSUndo>();
    undo_->SetUser(platform::LoginName());
    DocumentName = QStringLiteral("unbenannt.rsd");

    // Without a window manager a maximise request alone changes nothing.
    if (QScreen *s = screen())
        setGeometry(s->availableGeometry());
    showMaximized();
    UpdateCaption();
    SyncRulers();
    if (!startFile_.isEmpty())
        OpenDocument(startFile_);
}

// ------------------------------------------------------------ file commands

bool TForm1::SaveQuestion()
{
    if (!sheet_->Modified)
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
        if (isFolder(DataFolder)) {
            QDir::setCurrent(DataFolder);
            r.startFolder = DataFolder;
            r.fileName = DataFolder + QStringLiteral("*.rsd");
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

void TForm1::OpenDocument(const QString &path)
{
    if (!sheet_->LoadFromFile(path))
        return;
    const QFileInfo info(path);
    DocumentName = info.fileName();
    DocumentFolder = info.absolutePath();
    UpdateCaption();
    undo_->Clear();
    platform::Printer &printer = platform::Printer::Instance();
    printer.SetOrientation(QPageLayout::Portrait);
    if (sheet_->PageWidth > sheet_->PageHeight)
        printer.SetOrientation(QPageLayout::Landscape);
    canvas_->RefreshPrinter();
    FormResize();
    SetCanvasVisible(true);
    Recompose(false);
    undo_->Push(sheet_.get());
    sheet_->Modified = false;
    previewCaption_->setText(PreviewHelpCaption());
    UpdateCommandStates();
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
    if (isFolder(DataFolder)) {
        r.startFolder = isFolder(DocumentFolder) ? DocumentFolder : DataFolder;
        QDir::setCurrent(r.startFolder);
    }
    r.fileName = DocumentName;
    const QString path = platform::ExecuteFileDialog(this, r);
    if (!path.isEmpty() && sheet_->SaveToFile(path)) {
        const QFileInfo info(path);
        DocumentName = info.fileName();
        DocumentFolder = info.absolutePath();
        UpdateCaption();
        sheet_->Modified = false;
    }
    button->setDown(false);
}

void TForm1::btn_undoClick()
{
    if (!undo_ || !canvas_->isVisible())
        return;
    undo_->Undo(sheet_.get());
    Recompose(false);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool close = true;
    if (sheet_->Modified) {
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

// --------------------------------------------------------------- composing

void TForm1::Recompose(bool pushUndo)
{
    if (fieldHighlight_)
        fieldHighlight_->hide();
    ::Recompose(*sheet_, *canvas_, TComposeSettings{LineFactor}, undo_.get(), pushUndo);
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
    panels_[10]->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(panels_[10]->text()) + 25);
    panels_[7]->setText(platform::FromAnsi(sheet_->UserName));
    panels_[8]->setText(platform::FromAnsi(sheet_->ComputerName));
    const QLocale locale;
    auto whole = [&](double v) { return locale.toString(v, 'f', 0).rightJustified(2, QLatin1Char(' ')); };
    panels_[11]->setText(
        QStringLiteral("b×h = %1 × %2 mm; (%3)")
            .arg(whole(canvas_->PageWidthMm()), whole(canvas_->PageHeightMm()), canvas_->PaperName()));
}

// ----------------------------------------------------- columns and rows

void TForm1::btn_spaltenlinksClick()
{
    sheet_->ShiftColumns(true);
    Recompose(true);
}

void TForm1::btn_spaltenrechtsClick()
{
    sheet_->ShiftColumns(false);
    Recompose(true);
}

void TForm1::btn_obenClick()
{
    sheet_->ShiftRows(true);
    Recompose(true);
}

void TForm1::btn_untenClick()
{
    sheet_->ShiftRows(false);
    Recompose(true);
}

void TForm1::btn_spaltekopierenClick()
{
    sheet_->CopyFirstColumn();
    Recompose(true);
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
    ::mm_DatablageClick(DataFolder, ProgramFolder, folderBrowser_);
}
