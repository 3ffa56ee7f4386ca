#pragma once
// TMUVTaRe: the calculator of the layout dialog's calculation line. It takes
// an arithmetic expression with + - * / ^, parentheses and "," or "." as the
// decimal separator and gives an error code and a value. Pure logic: it needs
// no widgets and does not touch the process's locale.

#include <QChar>
#include <QString>
#include <QtGlobal>

// Error codes of an evaluation; 0 means success.
enum TMUVTaReCode : quint8 {
    kTaReOk = 0,
    kTaReEmpty = 1,       // empty expression
    kTaReTooLong = 2,     // 256 characters or more
    kTaReDivByZero = 3,   // division by 0
    kTaReText = 4,        // a character that has no place in an expression
    kTaReOperators = 5,   // two operators in a row, or a leading/trailing operator
    kTaReMinus = 6,       // a minus sign without a number or group after it
    kTaReParentheses = 7, // a number touching a parenthesis, or unbalanced
    kTaReFault = 8,       // an empty group, an unreadable number, no finite result
    kTaRePowerLast = 10,  // ends with "^"
    kTaRePowerFirst = 12, // begins with "^"
};

struct TMUVTaReResult {
    quint8 Code = kTaReOk;
    long double Value = 0; // valid only when Code is 0
};

class TMUVTaRe
{
  public:
    // Evaluates s into result (cleared first). Never throws; every problem is
    // an error code.
    void Evaluate(const QString &s, TMUVTaReResult &result) const;
    TMUVTaReResult Evaluate(const QString &s) const;

    // The message the calculation line shows for a code; empty for codes it
    // passes over silently (0, 1, 2, 10, 12).
    static QString Message(int code);

    // The shortest general form with up to 15 significant digits, an exponent
    // written as "E" ("1E20", "1,5E-7") and the given decimal separator.
    static QString FormatGeneral(long double v, QChar decimalSeparator);

    // Parses a number written as [-]digits[,digits] or [-],digits (also "5,");
    // false for anything else.
    static bool ParseNumber(const QString &text, long double &value);

    static constexpr int kMaxLength = 255; // longest accepted expression
};
