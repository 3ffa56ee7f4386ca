#pragma once
// TMUVFontComboBox: the list of scalable fonts (they stand for the TrueType
// fonts), each entry drawn with its name on the left and a sample in its own
// font on the right. Names beginning with "@" (vertical variants) are left
// out. The usual Windows font names whose metric-compatible stand-ins are
// installed (Arial → Liberation Sans …) are listed under the Windows name,
// so that label files keep their fonts.

#include <QComboBox>
#include <QStringList>

class TMUVFontComboBox : public QComboBox
{
    Q_OBJECT
  public:
    explicit TMUVFontComboBox(QWidget *parent = nullptr);

    // The fonts as listed, sorted.
    static QStringList AvailableFonts();
    // Fills the list again (also done when the installed fonts change).
    void Reload();

    // The selected name; setting a name that is not listed selects the first
    // entry.
    QString SelectedName() const { return currentText(); }
    void SetSelectedName(const QString &name);

  signals:
    void SelectionChange(const QString &name);

  protected:
    bool event(QEvent *event) override;
};
