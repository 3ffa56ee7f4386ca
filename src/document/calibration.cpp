#include "document/calibration.h"

#include "canvas/dpage.h"
#include "canvas/tcolor.h"

#include <QString>
#include <QStringList>

#include <algorithm>

namespace
{
constexpr int kPenSolid = 0;
// Text anchors: 3 × horizontal (left, centre, right) + vertical (top, middle, bottom).
constexpr int kLeftTop = 0, kLeftMiddle = 1, kCentreTop = 3, kCentreBottom = 5, kRightMiddle = 7;

double tickLength(int mm)
{
    return mm % 10 == 0 ? 6.0 : mm % 5 == 0 ? 4.0 : 2.0;
}

// A scale from the edge point (x0, y0) inward along (dx, dy); ticks stand
// off the scale's line along (nx, ny).
void addScale(canvas::TDPage &page, double x0, double y0, double dx, double dy, double nx, double ny)
{
    page.SetLineStyle(kPenSolid, clBlack, 0.1);
    const double len = kCalibrationScaleLength;
    page.AddLine(x0, y0, x0 + dx * len, y0 + dy * len);
    for (int mm = 0; mm <= int(len); ++mm) {
        const double x = x0 + dx * mm, y = y0 + dy * mm, t = tickLength(mm);
        page.AddLine(x, y, x + nx * t, y + ny * t);
    }
    // Numbers beyond the long ticks, centred on them.
    const int align = dx != 0 ? (ny < 0 ? kCentreBottom : kCentreTop) : (nx < 0 ? kRightMiddle : kLeftMiddle);
    page.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, align, 2.5, 0);
    for (int mm = 10; mm <= int(len); mm += 10) {
        const double x = x0 + dx * mm + nx * 7, y = y0 + dy * mm + ny * 7;
        page.AddText(QString::number(mm), x, y);
    }
}

void addCross(canvas::TDPage &page, double x, double y, const QString &label, bool labelLeft)
{
    page.SetLineStyle(kPenSolid, clBlack, 0.1);
    page.AddLine(x - 6, y, x + 6, y);
    page.AddLine(x, y - 6, x, y + 6);
    page.SetTextStyle(QStringLiteral("Arial"), clBlack, 1, labelLeft ? kRightMiddle : kLeftMiddle, 3.0, 0);
    page.AddText(label, labelLeft ? x - 3 : x + 3, y - 4);
}
} // namespace

void AddCalibrationPage(canvas::TDPage &page, double w, double h)
{
    page.ClearPage();
    const double midX = w / 2, midY = h / 2;
    // Left and right edge: horizontal scales through the middle height, ticks
    // upwards; top and bottom edge: vertical scales through the middle width,
    // ticks to the right.
    addScale(page, 0, midY, 1, 0, 0, -1);
    addScale(page, w, midY, -1, 0, 0, -1);
    addScale(page, midX, 0, 0, 1, 1, 0);
    addScale(page, midX, h, 0, -1, 1, 0);

    const double d = kCalibrationCrossInset;
    addCross(page, d, d, QStringLiteral("A"), false);
    addCross(page, w - d, d, QStringLiteral("B"), true);
    addCross(page, d, h - d, QStringLiteral("C"), false);
    addCross(page, w - d, h - d, QStringLiteral("D"), true);

    page.SetTextStyle(QStringLiteral("Arial"), clBlack, 1, kCentreTop, 6.0, 0);
    page.AddText(QStringLiteral("Testseite zum Ausmessen"), midX, 45);
    const QStringList lines = {
        QStringLiteral(
            "Drucken Sie diese Seite ohne Blattverschiebung (0 mm) und messen Sie mit einem Lineal."),
        QStringLiteral("Die Mitte jedes Kreuzes A, B, C, D liegt genau 20 mm von der nächsten linken oder"),
        QStringLiteral("rechten und 20 mm von der nächsten oberen oder unteren Papierkante entfernt."),
        QStringLiteral("Die Skalen an den vier Kanten zählen die Millimeter von ihrer Papierkante aus;"),
        QStringLiteral(
            "der erste sichtbare Strich zeigt, wie breit der Rand ist, den der Drucker nicht bedruckt."),
        QString(),
        QStringLiteral("Horizontal: Messen Sie von der linken Papierkante bis zur Mitte von Kreuz A."),
        QStringLiteral(
            "Sind es z. B. 21,5 mm, druckt der Drucker 1,5 mm zu weit rechts: tragen Sie -1,5 mm ein."),
        QStringLiteral("Sind es z. B. 18,5 mm, druckt er 1,5 mm zu weit links: tragen Sie 1,5 mm ein."),
        QString(),
        QStringLiteral("Vertikal: Messen Sie von der oberen Papierkante bis zur Mitte von Kreuz A."),
        QStringLiteral(
            "Sind es mehr als 20 mm, tragen Sie den Unterschied mit Minus ein, sind es weniger, mit Plus."),
        QString(),
        QStringLiteral("Die Werte gehören in „zusätzliche Blattverschiebung“ im Fenster „Drucken“;"),
        QStringLiteral("positive Werte schieben den Druck nach rechts und nach unten. Kreuze B, C und D"),
        QStringLiteral("zeigen, ob der Drucker das Blatt auch schräg einzieht oder in der Größe verändert."),
    };
    page.SetTextStyle(QStringLiteral("Arial"), clBlack, 0, kLeftTop, 3.2, 0);
    double y = 55;
    const double left = std::max(10.0, midX - 80);
    for (const QString &line : lines) {
        if (!line.isEmpty())
            page.AddText(line, left, y);
        y += line.isEmpty() ? 3.0 : 5.0;
    }
}
