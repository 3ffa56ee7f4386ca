#pragma once
// TForm_ColorDLG "Farbe wählen...": the program's one colour chooser. The HSV
// picker, a strip of the 16 standard colours, the named colours, R/G/B and
// H/S/L spins, a hex edit and the user's favourites all show the same colour;
// SetCurrentColor is the one place that brings them into step.

#include "canvas/tcolor.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QToolButton;
class ToxColorPicker;
class TMUVColorHistory;
class TMUVWebColorBox;
class TMUVComboFarbFav;
class TSpezialSpin;

class TForm_ColorDLG : public QDialog
{
    Q_OBJECT
  public:
    // favoritesFile: the favourites file; by default "cfv.def" in the
    // settings folder.
    explicit TForm_ColorDLG(QWidget *parent = nullptr, const QString &favoritesFile = DefaultFavoritesFile());

    static QString DefaultFavoritesFile();

    // The colour shown; set it before showing, read it after OK.
    canvas::TColor CurrentColor = canvas::clBlack;

    // Brings every control into step with colour; source is the control the
    // change came from (nullptr: the picker itself), which is left alone.
    void SetCurrentColor(canvas::TColor colour, QObject *source);

    // Reads the hex edit (padded on the left with zeros) into the colour;
    // invalid text changes nothing.
    void ApplyHexEdit();

    // The named controls, for the layout and for tests.
    ToxColorPicker *ColorPicker = nullptr;
    TMUVColorHistory *STD_Colorctrl = nullptr;
    QFrame *shape_Akt = nullptr;
    QLineEdit *edit_hex = nullptr;
    QToolButton *btn_clpbrd = nullptr;
    TMUVWebColorBox *WebColorBox = nullptr;
    TSpezialSpin *spin_R = nullptr;
    TSpezialSpin *Spin_G = nullptr;
    TSpezialSpin *Spin_B = nullptr;
    TSpezialSpin *spin_L = nullptr;
    TSpezialSpin *spin_S = nullptr;
    TSpezialSpin *spin_H = nullptr;
    TMUVComboFarbFav *clr_Favs = nullptr;
    QToolButton *btn_plusfav = nullptr;
    QMenu *PM_Favs = nullptr;
    QAction *PM_Favs_DEL = nullptr;
    QAction *PM_FAVs_Rename = nullptr;
    QToolButton *BTN_OK = nullptr;
    QToolButton *BTN_Abbruch = nullptr;

    // Asks for a text; replaced in tests. Returns false on cancel.
    using InputQuery = bool (*)(QWidget *parent, const QString &caption, const QString &prompt,
                                QString &value);
    static InputQuery SetInputQuery(InputQuery query);

    void done(int result) override;

  protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void FormCreate();
    void BuildLayout();
    void ColorPickerColorChange(canvas::TColor colour);
    void STD_ColorctrlSelectColor(canvas::TColor colour);
    void WebColorBoxClick();
    void clr_FavsSelectFavoriteColor(canvas::TColor colour);
    void Wchange(TSpezialSpin *spin);
    void spin_LDelayedChange(TSpezialSpin *spin);
    void btn_clpbrdClick();
    void btn_plusfavClick();
    void PM_FavsPopup();
    void PM_Favs_DELClick();
    void PM_FAVs_RenameClick();

    QString favoritesFile_;
};

// Where the colour dialog opens.
enum class TColorDialogPlace {
    CentredOnCaller,   // the main window
    BeyondCallerCorner // dialogs: its bottom-right corner 20 px beyond the caller's
};

// Opens the colour dialog modally with colour; after OK colour holds the
// choice and the result is true. Cancel leaves colour as it was.
bool PickColour(QWidget *parent, canvas::TColor &colour,
                TColorDialogPlace place = TColorDialogPlace::CentredOnCaller);
