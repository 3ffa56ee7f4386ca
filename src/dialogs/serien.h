#pragma once
// TForm_serien: "Serienetiketten" — labels filled from a list. The user
// chooses the records (a list file, the clipboard, or a count of numbered
// labels), the fill order, the first free label of a partly used sheet and
// whether too wide texts shrink; the dialog shows the list's headings and
// first records and every page it will print, and prints them with the
// print dialog's settings or saves them as one PDF. The document's sheet is
// never changed: each page is filled into a copy.

#include "document/merge.h"
#include "document/output.h"
#include "model/data_list.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QLabel;
class QTableWidget;
class TDocument;
class TMUVButton;
class TMUVCheckBox;
class TMUVPanel;
class TSpezialSpin;
class TStartLabelPicker;

class TForm_serien : public QDialog
{
    Q_OBJECT

  public:
    explicit TForm_serien(TDocument &document, QWidget *parent = nullptr);
    ~TForm_serien() override;

    // --- Controls ------------------------------------------------------------
    TMUVCheckBox *rb_Datei = nullptr;
    TMUVCheckBox *rb_Zwischenablage = nullptr;
    TMUVCheckBox *rb_Anzahl = nullptr;
    TMUVButton *btn_Datei = nullptr;
    TMUVButton *btn_Einfuegen = nullptr;
    QLabel *lbl_Datei = nullptr;
    TSpezialSpin *spin_Anzahl = nullptr;
    TSpezialSpin *spin_Erste = nullptr;
    QTableWidget *tbl_Liste = nullptr;
    QLabel *lbl_Listinfo = nullptr;
    TMUVCheckBox *rb_Zeilen = nullptr;
    TMUVCheckBox *rb_Spalten = nullptr;
    TSpezialSpin *spin_Start = nullptr;
    TStartLabelPicker *shp_Start = nullptr;
    TMUVCheckBox *cb_Verkleinern = nullptr;
    QLabel *img_Vorschau = nullptr;
    QLabel *lbl_Seite = nullptr;
    TMUVButton *btn_Zurueck = nullptr;
    TMUVButton *btn_Vor = nullptr;
    QLabel *lbl_Fehler = nullptr;
    TMUVButton *btn_Drucken = nullptr;
    TMUVButton *btn_Pdf = nullptr;
    TMUVButton *btn_Schliessen = nullptr;

    // --- Commands (also for tests) -----------------------------------------
    // Reads a list file; false (with the reason shown in the dialog) when it
    // is no usable list.
    bool LoadListFile(const QString &path);
    // Reads the list from the clipboard's text.
    bool PasteList();
    // Numbered labels instead of a list.
    void UseCount(int count, int first);
    // The merge as the dialog's values make it; false with the German reason
    // in ErrorText() when nothing can be printed.
    bool Ready() const { return ready_; }
    QString ErrorText() const { return error_; }
    const TMerge &Merge() const { return merge_; }
    TMergeOptions Options() const;
    int PreviewPage() const { return page_; }
    void ShowPage(int page);
    const QImage &PreviewImage() const { return preview_; }
    // Writes every page into one PDF file; false with the reason in error.
    bool SavePdf(const QString &path, QString *error, const TOutputProgress &progress = {});

    void btn_DateiClick();
    void btn_DruckenClick();
    void btn_PdfClick();

  private:
    void BuildLayout();
    void ShowList();
    // Prepares the merge from the dialog's values and shows the first page
    // (or the reason nothing can be printed).
    void Refresh();
    void RenderPreview();
    void ListFailed(const QString &reason);
    // Keeps the list with the document for the field editor and next time.
    void Remember();

    TDocument &document_;
    TDataList list_;
    bool haveList_ = false;
    QString listName_;
    QString listError_; // why the last list could not be read
    TMerge merge_;
    bool ready_ = false;
    QString error_;
    int page_ = 0;
    QImage preview_;
    bool building_ = true;
};
