// bench_fill_sheet IN.rsd OUT.rsd text
// bench_fill_sheet IN.rsd OUT.rsd merge
// bench_fill_sheet IN.rsd OUT.rsd photo PHOTO.jpg
//
// Fills every field of a label sheet with two lines of text ("Etikett N",
// "Zeile 2"), with the placeholders of a two-column list ("{1}", "{2}") or
// with the photo, loaded as the field editor loads a picture
// file (reduced to 300 dpi of the field width), and saves the sheet.
#include "model/picture.h"
#include "model/rs.h"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <string>

namespace
{
// Qt's notes (a missing runtime folder) are no results of this tool.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietQt);
    QGuiApplication app(argc, argv);
    const QString mode = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (argc < 4 || (mode == QLatin1String("photo") && argc < 5) ||
        (mode != QLatin1String("text") && mode != QLatin1String("merge") && mode != QLatin1String("photo"))) {
        std::fprintf(stderr, "Aufruf: bench_fill_sheet IN.rsd OUT.rsd text|merge|photo [FOTO.jpg]\n");
        return 2;
    }
    TRS sheet;
    if (!sheet.LoadFromFile(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s kann nicht gelesen werden\n", argv[1]);
        return 2;
    }
    int n = 0;
    for (std::int32_t r = 0; r < sheet.RowCount; ++r)
        for (std::int32_t c = 0; c < sheet.ColumnCount; ++c) {
            TRSObject *f = sheet.GetField(c, r);
            if (!f)
                continue;
            ++n;
            f->Visible = true;
            if (mode != QLatin1String("photo")) {
                f->Kind = TFieldKind::Text;
                f->Text = mode == QLatin1String("merge") ? std::string("{1}\r\n{2}")
                                                         : "Etikett " + std::to_string(n) + "\r\nZeile 2";
                f->FontHeight = 5.0;
                f->Angle = 0;
            } else {
                QString error;
                f->Picture = TPicture::LoadReducedFromFile(QString::fromLocal8Bit(argv[4]), f->Width, &error);
                if (!f->Picture) {
                    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
                    return 2;
                }
                f->Kind = TFieldKind::Picture;
            }
        }
    if (!sheet.SaveToFile(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s kann nicht geschrieben werden\n", argv[2]);
        return 2;
    }
    return 0;
}
