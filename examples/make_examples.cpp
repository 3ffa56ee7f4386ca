// Writes the example label files of examples/ with the program's own model:
//   build/bin/make-examples examples
#include "model/rs.h"
#include "platform/codepage.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace
{
std::string ansi(const char *utf8)
{
    return platform::ToAnsi(QString::fromUtf8(utf8));
}

void setText(TRSObject *f, const char *text, double height, double angle = 0, TColor color = clBlack,
             std::uint8_t style = 0)
{
    f->Kind = TFieldKind::Text;
    f->Visible = true;
    f->Text = ansi(text);
    f->FontHeight = height;
    f->Angle = angle;
    f->FontColor = color;
    f->FontStyle = style;
}

bool binders(const QString &path)
{
    TRS rs;
    rs.SetLayout(4, 1, 297, 210, 26, 26, 9, 9, 0, 4, clWhite);
    const char *titles[] = {"Rechnungen 2026", "Verträge", "Personal", "Steuern & Bescheide"};
    const TColor colors[] = {0x00A5FF, 0xE6D8AD, 0x90EE90, 0xD3D3D3};
    for (int c = 0; c < 4; ++c) {
        TRSObject *f = rs.GetField(c, 0);
        setText(f, titles[c], 14, 90, clBlack, 1);
        f->BackgroundColor = colors[c];
        f->LinesTopBottom = true;
        f->LineWidth = 0.5;
        rs.GetColumn(c)->BackgroundOn = c == 3;
        rs.GetColumn(c)->BackgroundColor = 0xF0F0F0;
    }
    return rs.SaveToFile(path);
}

bool labels(const QString &path)
{
    TRS rs;
    rs.SetLayout(5, 13, 210, 297, 10, 10, 10.7, 10.7, 0, 1, clWhite);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 13; ++r) {
            TRSObject *f = rs.GetField(c, r);
            setText(f, "Müller & Söhne GmbH\r\nAbteilung Einkauf", 2.5, 0, 0x800000);
            f->Alignment = std::uint8_t(c % 3);
        }
    return rs.SaveToFile(path);
}

bool pictures(const QString &path)
{
    TRS rs;
    rs.SetLayout(3, 8, 210, 297, 0, 0, 4.5, 4.5, 0, 2, clWhite);
    QImage logo(120, 60, QImage::Format_RGB32);
    logo.fill(Qt::white);
    {
        QPainter p(&logo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 90, 160));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(8, 8, 44, 44));
        p.setBrush(QColor(230, 120, 0));
        p.drawRect(QRectF(60, 16, 52, 28));
    }
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 8; ++r) {
            TRSObject *f = rs.GetField(c, r);
            if ((c + r) % 2 == 0) {
                f->Kind = TFieldKind::Picture;
                f->Visible = true;
                f->Picture = TPicture::FromImage(logo);
            } else {
                setText(f, "Lager\r\nRegal 4", 6, 0, 0x000080, 1);
                f->LinesLeftRight = true;
            }
        }
    return rs.SaveToFile(path);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: make-examples ORDNER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool ok = binders(dir.filePath("ordner-4-spalten.rsd")) &&
                    labels(dir.filePath("etiketten-5x13.rsd")) && pictures(dir.filePath("bilder-3x8.rsd"));
    return ok ? 0 : 2;
}
