#pragma once
// TMUVRechenzeile: the editable calculation line of the layout dialog. Enter
// evaluates the typed expression with TMUVTaRe; on success the expression
// and then its result are added to the drop-down history and the line shows
// the result, ready for the next calculation.

#include "controls/MUVTaRe.h"

#include <QComboBox>

class TMUVRechenzeile : public QComboBox
{
    Q_OBJECT
  public:
    explicit TMUVRechenzeile(QWidget *parent = nullptr);

    // The line's hint (tool tip), with its Windows line breaks.
    static const QString kHint;

    // Evaluates the current text as Enter does and returns the code.
    int Calculate();

    const TMUVTaRe &Evaluator() const { return MUVTaRe1; }

  protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    TMUVTaRe MUVTaRe1;
    bool enterPressed_ = false; // Enter went down on this line
};
