#include "controls/MUVRechenzeile.h"

#include "platform/messages.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <utility>

const QString TMUVRechenzeile::kHint =
    QStringLiteral("Eingabe einer Berechnung z.B.: (297 - 2*30) / 4\r\n"
                   "= Grundrechenarten ( + - * / ) mit Klammerung in beliebiger Reihenfolge\r\n"
                   "= Benutzung des Ziffernblocks auf der Tastatur\r\n"
                   "= ENTER/RETURN-Taste startet die Berechnung");

TMUVRechenzeile::TMUVRechenzeile(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // The history is written by Calculate alone, and an inline completion
    // would silently turn what was typed into an older expression.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    QString tip = kHint;
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setToolTip(tip);
}

int TMUVRechenzeile::Calculate()
{
    const QString expression = currentText();
    TMUVTaReResult result;
    MUVTaRe1.Evaluate(expression, result);
    if (result.Code == kTaReOk) {
        const QString decimal = QLocale().decimalPoint();
        const QString text =
            TMUVTaRe::FormatGeneral(result.Value, decimal.isEmpty() ? QChar(',') : decimal.front());
        addItem(expression);
        addItem(text);
        setEditText(text);
    } else if (result.Code >= kTaReDivByZero && result.Code <= kTaReFault) {
        platform::ShowPlain(TMUVTaRe::Message(result.Code));
    }
    return result.Code;
}

void TMUVRechenzeile::keyPressEvent(QKeyEvent *event)
{
    // Enter belongs to the calculation (on release); it must not reach the
    // dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enterPressed_ = true;
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TMUVRechenzeile::focusOutEvent(QFocusEvent *event)
{
    enterPressed_ = false;
    QComboBox::focusOutEvent(event);
}

void TMUVRechenzeile::keyReleaseEvent(QKeyEvent *event)
{
    // Return and the keypad's Enter alike; a held key calculates once. Only
    // a key pressed here counts: the press that closed a message box leaves
    // its release to the line, and that must not open the box again.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        event->accept();
        if (std::exchange(enterPressed_, false))
            Calculate();
        return;
    }
    QComboBox::keyReleaseEvent(event);
}
