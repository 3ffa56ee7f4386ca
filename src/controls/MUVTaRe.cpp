#include "controls/MUVTaRe.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace
{

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsOperator(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('*') || c == QLatin1Char('/') ||
           c == QLatin1Char('^');
}

// The neighbouring character of s at i in direction step, blanks skipped;
// a null QChar at either end.
QChar NonBlankFrom(const QString &s, qsizetype i, int step)
{
    for (i += step; i >= 0 && i < s.size(); i += step) {
        if (s[i] != QLatin1Char(' '))
            return s[i];
    }
    return QChar();
}

// Writes v without an exponent, rounded to 15 significant digits, with ","
// as the decimal separator. Intermediate results go back into the expression
// text, so they must stay readable by the group tokenizer (which knows no
// exponent letter).
QString PositionalText(long double v)
{
    if (v == 0)
        return QStringLiteral("0");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    // sci is "[-]d.dddddddddddddde[+-]x..."
    const bool negative = sci[0] == '-';
    const size_t start = negative ? 1 : 0;
    const size_t epos = sci.find('e');
    std::string digits;
    for (size_t i = start; i < epos; ++i) {
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    }
    const int exponent = std::stoi(sci.substr(epos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 0) {
        const size_t intLen = size_t(exponent) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "," + digits.substr(intLen);
        }
    } else {
        out += "0," + std::string(size_t(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(out.c_str());
}

struct Token {
    bool isOperator = false;
    char op = 0;
    long double number = 0;
};

// Evaluates the text of one group "(...)" without inner parentheses.
quint8 EvaluateGroup(const QString &group, long double &value)
{
    if (group.size() <= 2)
        return kTaReFault;
    const QString inner = group.mid(1, group.size() - 2);

    std::vector<Token> tokens;
    QString current;
    auto flushNumber = [&]() -> bool {
        long double n = 0;
        if (!TMUVTaRe::ParseNumber(current, n))
            return false;
        tokens.push_back(Token{false, 0, n});
        current.clear();
        return true;
    };

    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner[i];
        if (IsDigit(c) || c == QLatin1Char(',')) {
            current += c;
        } else if (c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('/') ||
                   c == QLatin1Char('^')) {
            if (!flushNumber())
                return kTaReFault;
            tokens.push_back(Token{true, char(c.unicode()), 0});
        } else if (c == QLatin1Char('-')) {
            const QChar prev = i > 0 ? inner[i - 1] : QLatin1Char('(');
            if (prev < QLatin1Char('0') || prev == QLatin1Char('^')) {
                // A sign. A second one cancels the first: a negative group
                // result put back after a sign ("-(-3)" becomes "--3"). After
                // digits ("5,-3") it would silently drop them; that is no number.
                if (current == QStringLiteral("-")) {
                    current.clear();
                    continue;
                }
                if (!current.isEmpty())
                    return kTaReFault;
                current = QStringLiteral("-");
            } else {
                if (!flushNumber())
                    return kTaReFault;
                tokens.push_back(Token{true, '-', 0});
            }
        }
    }
    if (!flushNumber())
        return kTaReFault;

    // Tokens now alternate number, operator, number. Reduce one operator kind
    // after the other, each from left to right.
    for (const char op : {'^', '/', '*', '-', '+'}) {
        for (size_t i = 1; i < tokens.size();) {
            if (!tokens[i].isOperator || tokens[i].op != op) {
                i += 2;
                continue;
            }
            const long double a = tokens[i - 1].number;
            const long double b = tokens[i + 1].number;
            long double r = 0;
            switch (op) {
            case '^':
                r = std::pow(a, b);
                break;
            case '/':
                if (b == 0)
                    return kTaReDivByZero;
                r = a / b;
                break;
            case '*':
                r = a * b;
                break;
            case '-':
                r = a - b;
                break;
            default:
                r = a + b;
                break;
            }
            // 0 ^ -1, a root of a negative number or an overflow: no result
            // that could be shown or calculated with.
            if (!std::isfinite(r))
                return kTaReFault;
            tokens[i + 1].number = r;
            tokens.erase(tokens.begin() + qsizetype(i) - 1, tokens.begin() + qsizetype(i) + 1);
        }
    }
    value = tokens.front().number;
    return kTaReOk;
}

// Checks and rewrites the expression; the result starts with "(" and has
// "," as its only decimal separator.
quint8 Normalize(const QString &s, QString &buf)
{
    quint8 code = kTaReOk;
    buf = QStringLiteral("(");
    int depth = 0;
    for (qsizetype i = 0; i < s.size() && code == kTaReOk; ++i) {
        QChar c = s[i];
        if (c == QLatin1Char('.'))
            c = QLatin1Char(','); // a point is a decimal separator too, never a thousands separator
        const QChar last = buf.back();
        if (c == QLatin1Char(' ')) {
            continue;
        } else if (c == QLatin1Char('(')) {
            // Only an operator or another "(" may come before a group: a number,
            // a separator or a group right before it would run together with
            // the group's value once that is written in its place.
            const QChar before = NonBlankFrom(s, i, -1);
            if (before.isNull() || IsOperator(before) || before == QLatin1Char('(')) {
                buf += c;
                ++depth;
            } else {
                code = kTaReParentheses;
            }
        } else if (c == QLatin1Char(')')) {
            const QChar after = NonBlankFrom(s, i, +1);
            if (after.isNull() || IsOperator(after) || after == QLatin1Char(')')) {
                buf += c;
                if (--depth < 0)
                    code = kTaReParentheses;
            } else {
                code = kTaReParentheses;
            }
        } else if (c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('/') ||
                   c == QLatin1Char('^')) {
            if (last == QLatin1Char('(') || last == QLatin1Char(')') || IsDigit(last))
                buf += c;
            else
                code = kTaReOperators;
        } else if (c == QLatin1Char(',')) {
            if (last == QLatin1Char('(') || last == QLatin1Char(')') || last == QLatin1Char('*') ||
                last == QLatin1Char('+') || last == QLatin1Char('-') || last == QLatin1Char('/'))
                buf += QLatin1Char('0');
            buf += c;
        } else if (c == QLatin1Char('-')) {
            const QChar next = NonBlankFrom(s, i, +1);
            if (!next.isNull() &&
                (next == QLatin1Char('(') || next == QLatin1Char(')') || next == QLatin1Char(',') ||
                 next == QLatin1Char('.') || next == QLatin1Char('/') || IsDigit(next)))
                buf += c;
            else
                code = kTaReMinus;
        } else if (IsDigit(c)) {
            buf += c;
        } else {
            code = kTaReText;
        }
    }

    // The first and last characters decide over anything found before.
    const QChar lastChar = s.back();
    if (lastChar == QLatin1Char('*') || lastChar == QLatin1Char('+') || lastChar == QLatin1Char(',') ||
        lastChar == QLatin1Char('-') || lastChar == QLatin1Char('/'))
        code = kTaReOperators;
    else if (lastChar == QLatin1Char('^'))
        code = kTaRePowerLast;
    const QChar firstChar = s.front();
    if (firstChar == QLatin1Char('*') || firstChar == QLatin1Char('+') || firstChar == QLatin1Char('/'))
        code = kTaReOperators;
    else if (firstChar == QLatin1Char('^'))
        code = kTaRePowerFirst;

    if (code == kTaReOk && depth != 0)
        code = kTaReParentheses;
    if (code == kTaReOk)
        buf += QLatin1Char(')');
    return code;
}

} // namespace

bool TMUVTaRe::ParseNumber(const QString &text, long double &value)
{
    std::string ascii;
    ascii.reserve(size_t(text.size()));
    int digits = 0;
    int separators = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('-') && i == 0) {
            ascii.push_back('-');
        } else if (IsDigit(c)) {
            ascii.push_back(char(c.unicode()));
            ++digits;
        } else if (c == QLatin1Char(',') && separators == 0) {
            ascii.push_back('.');
            ++separators;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    // from_chars takes neither a lone trailing point nor a leading one
    // without a digit in front.
    if (ascii.back() == '.')
        ascii.pop_back();
    const bool negative = !ascii.empty() && ascii.front() == '-';
    std::string body = negative ? ascii.substr(1) : ascii;
    if (body.front() == '.')
        body.insert(body.begin(), '0');
    long double v = 0;
    const auto res = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::fixed);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size() || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

void TMUVTaRe::Evaluate(const QString &s, TMUVTaReResult &result) const
{
    result = TMUVTaReResult{};
    if (s.isEmpty()) {
        result.Code = kTaReEmpty;
        return;
    }
    if (s.size() > kMaxLength) {
        result.Code = kTaReTooLong;
        return;
    }
    QString text;
    const quint8 code = Normalize(s, text);
    if (code != kTaReOk) {
        result.Code = code;
        return;
    }

    // Innermost groups first; each is replaced by its value wherever it occurs.
    for (qsizetype close = text.indexOf(QLatin1Char(')')); close >= 0;
         close = text.indexOf(QLatin1Char(')'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('('), close);
        if (open < 0) {
            result.Code = kTaReParentheses;
            return;
        }
        const QString group = text.mid(open, close - open + 1);
        long double value = 0;
        const quint8 groupCode = EvaluateGroup(group, value);
        if (groupCode != kTaReOk) {
            result.Code = groupCode;
            return;
        }
        text.replace(group, PositionalText(value));
    }
    long double value = 0;
    if (!ParseNumber(text, value)) {
        result.Code = kTaReFault;
        return;
    }
    result.Value = value;
}

TMUVTaReResult TMUVTaRe::Evaluate(const QString &s) const
{
    TMUVTaReResult r;
    Evaluate(s, r);
    return r;
}

QString TMUVTaRe::Message(int code)
{
    switch (code) {
    case kTaReDivByZero:
        return QStringLiteral("Division durch 0");
    case kTaReText:
        return QStringLiteral("Kein Text erlaubt ! : 0..9 + * / - ()");
    case kTaReOperators:
        return QStringLiteral("Doppeltes Rechenzeichen");
    case kTaReMinus:
        return QStringLiteral("Fehlerhafte Minuszeichen");
    case kTaReParentheses:
        return QStringLiteral("Falsche Klammerung !");
    case kTaReFault:
        return QStringLiteral("Es ist ein Fehler aufgetreten !");
    default:
        return QString();
    }
}

QString TMUVTaRe::FormatGeneral(long double v, QChar decimalSeparator)
{
    if (v == 0)
        return QStringLiteral("0"); // also for -0
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string text(buf, res.ptr);
    const size_t epos = text.find('e');
    if (epos != std::string::npos) {
        // "1.5e-07" -> "1.5E-7", "1e+20" -> "1E20"
        std::string mantissa = text.substr(0, epos);
        const int exponent = std::stoi(text.substr(epos + 1));
        text = mantissa + "E" + std::to_string(exponent);
    }
    QString out = QString::fromLatin1(text.c_str());
    out.replace(QLatin1Char('.'), decimalSeparator);
    return out;
}
