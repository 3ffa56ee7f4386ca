#pragma once
// Small widgets of the field editor: the colour swatches, the picture
// preview and the text box with its limit of 255 characters.

#include "model/colors.h"

#include <QPlainTextEdit>
#include <QWidget>

#include <memory>

class TMUVButton;
class TPicture;
class QRect;

// A control's tool tip from a hint of the editor: Windows line breaks, and a
// leading "|" for a hint that has only its long part.
void SetEditorHint(QWidget *w, const QString &hint);

// A flat button with a caption or a glyph of the program's set; toggle
// buttons stay down until clicked again.
TMUVButton *EditorToolButton(QWidget *parent, const char *name, const QString &text, const QString &hint,
                             const QRect &geometry, bool toggle = false, const QString &glyph = QString());

// The picture preview: draws its picture stretched over its whole area.
class TFieldPicturePreview : public QWidget
{
    Q_OBJECT
  public:
    explicit TFieldPicturePreview(QWidget *parent = nullptr);
    ~TFieldPicturePreview() override;
    const TPicture *Picture() const { return picture_.get(); }
    void SetPicture(std::unique_ptr<TPicture> picture);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    std::unique_ptr<TPicture> picture_;
};

// The field text: at most MaxLength characters as the field stores them, a
// line break counting two (CR LF). Input beyond the limit is cut off, also
// when it is pasted or dropped.
class TFieldMemo : public QPlainTextEdit
{
    Q_OBJECT
  public:
    explicit TFieldMemo(QWidget *parent = nullptr);

    int MaxLength() const { return maxLength_; }
    // The length the field will hold: characters, line breaks counting two.
    static int FieldLength(const QString &text);

  signals:
    // After every change of the text that stays within the limit.
    void Changed();

  private:
    void Limit();

    int maxLength_ = 255;
    int changeStart_ = 0;
    int changeAdded_ = 0;
    bool limiting_ = false;
};
