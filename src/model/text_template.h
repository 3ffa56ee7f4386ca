#pragma once
// Texts with placeholders, as labels filled from a list use them: {Name}
// (the list column with that heading), {1}, {2} … (columns by number), {#}
// (the running label number; {#:000} pads it to three digits); {{ and }}
// stand for literal braces. Field texts and the data of codes both take
// them.

#include <QString>

#include <vector>

// One piece of a field text: literal text, a list column or the label number.
struct TTextPiece {
    enum Kind { Literal, Column, Number } kind = Literal;
    QString text;    // the literal, or the placeholder as written ("{Name}")
    QString name;    // a column's heading; empty when given by number
    int column = -1; // 0-based, once resolved
    int width = 0;   // digits of a padded number
};

// The text of a field split into lines of pieces.
struct TTextTemplate {
    std::vector<std::vector<TTextPiece>> lines;
    bool HasPlaceholder() const;
};

// Splits a field text (lines separated by CR LF) into pieces.
TTextTemplate ParseTextTemplate(const QString &text);
// Whether a text holds at least one placeholder.
bool HasPlaceholder(const QString &text);
