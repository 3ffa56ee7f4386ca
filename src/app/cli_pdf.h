#pragma once
// The paper of "dorlix-cli pdf --paper".

#include <QSizeF>
#include <QString>

// "A4", "Letter" or "WxHmm" (10 ... 2000 mm each) in millimetres.
bool ParsePaperSize(const QString &text, QSizeF *mm);
