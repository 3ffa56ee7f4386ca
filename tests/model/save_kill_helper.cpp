// Helper of the save-under-kill test: saves a large sheet (a picture of about
// 46 MB) into one file again and again, alternating between two contents,
// until it is killed.
//
//   save_kill_helper FOLDER TARGET            save loop; prints "bereit" after the first save
//   save_kill_helper FOLDER TARGET reference  writes TARGET.a and TARGET.b once and ends
#include "model/rs.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>

namespace
{
void fill(TRS &rs, int generation)
{
    TRSObject *text = rs.GetField(0, 0);
    text->Kind = TFieldKind::Text;
    text->Text = generation % 2 ? "Fassung B" : "Fassung A";
    TRSObject *picture = rs.GetField(0, 1);
    picture->Kind = TFieldKind::Picture;
    if (!picture->Picture) {
        QImage image(4000, 3840, QImage::Format_RGB32); // 46 080 054 bytes as a 24-bit bitmap
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
        }
        picture->Picture = TPicture::FromImage(image);
    }
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    platform::SetProgramFilePath(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/dorlix"));
    const QString target = QString::fromLocal8Bit(argv[2]);
    TRS rs;
    rs.SetLayout(1, 2, 210, 297, 10, 10, 10, 10, 0, 2, clWhite);
    if (argc > 3) {
        fill(rs, 0);
        if (!rs.SaveToFile(target + QStringLiteral(".a")))
            return 1;
        fill(rs, 1);
        return rs.SaveToFile(target + QStringLiteral(".b")) ? 0 : 1;
    }
    for (int generation = 0;; ++generation) {
        fill(rs, generation);
        if (!rs.SaveToFile(target))
            return 1;
        if (generation == 0) {
            std::puts("bereit");
            std::fflush(stdout);
        }
    }
}
