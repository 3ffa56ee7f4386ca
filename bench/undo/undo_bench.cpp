// Measures Push and Undo of the undo store on a sheet of 5 x 13 fields, each
// holding a 591 x 400 24-bit bitmap (a label file of about 46 MB).
//
// Usage: undo_bench [--keep-memory] [--each] [folder] [edits]
// --each prints the time of every single push and undo.
// The snapshots are written into a temporary folder inside "folder" (default:
// the system's temporary folder), which plays the program folder.
//
// Reading a snapshot back allocates the file's size twice over; on machines
// where touching fresh memory is slow (virtual machines) that dominates the
// undo. --keep-memory makes the C library keep freed large blocks for reuse
// instead of handing them back to the system at once, to show the difference.

#include "model/rs.h"
#include "model/undobj.h"

#include "platform/messages.h"
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

QImage fieldImage(int seed)
{
    QImage img(591, 400, QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y) {
        uchar *line = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            line[3 * x] = uchar(x + seed * 7);
            line[3 * x + 1] = uchar(y * 3 + seed);
            line[3 * x + 2] = uchar((x ^ y) + seed * 13);
        }
    }
    return img;
}

void buildSheet(TRS &sheet)
{
    sheet.SetLayout(5, 13, 297, 210, 10, 10, 10, 10, 2, 1, clWhite);
    for (int c = 0; c < sheet.ColumnCount; ++c)
        for (int r = 0; r < sheet.RowCount; ++r) {
            TRSObject *f = sheet.GetField(c, r);
            f->Kind = TFieldKind::Picture;
            f->Visible = true;
            f->Picture = TPicture::FromImage(fieldImage(c * sheet.RowCount + r));
        }
}

struct Stats {
    double min, median, max, mean;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    return {v.front(), v[v.size() / 2], v.back(), sum / double(v.size())};
}

void print(const char *what, const Stats &s)
{
    std::printf("%-6s min %7.1f ms   median %7.1f ms   mean %7.1f ms   max %7.1f ms\n", what, s.min, s.median,
                s.mean, s.max);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool keepMemory = args.removeAll(QStringLiteral("--keep-memory")) > 0;
    const bool each = args.removeAll(QStringLiteral("--each")) > 0;
    if (keepMemory) {
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
    }
    const QString base = args.size() > 0 ? args[0] : QDir::tempPath();
    const int edits = args.size() > 1 ? std::max(2, args[1].toInt()) : 10;

    QTemporaryDir dir(base + QStringLiteral("/undo_bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a folder in %s\n", qPrintable(base));
        return 1;
    }
    platform::SetProgramFilePath(dir.filePath(QStringLiteral("dorlix")));
    platform::SetMessageHandler([](const platform::Message &m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return int(platform::mrOk);
    });

    TRS sheet;
    buildSheet(sheet);

    std::vector<double> push, undo;
    {
        TRSUndo store;
        store.SetUser(QStringLiteral("bench"));
        QElapsedTimer t;
        for (int i = 0; i < edits; ++i) {
            // One edit: a field gets a new picture, as after the field editor.
            sheet.GetField(i % 5, i % 13)->Picture = TPicture::FromImage(fieldImage(1000 + i));
            t.start();
            store.Push(&sheet);
            push.push_back(double(t.nsecsElapsed()) / 1e6);
            if (each)
                std::printf("push %2d: %7.1f ms\n", store.Current, push.back());
        }
        const qint64 size = QFileInfo(store.SnapshotPath(1)).size();
        std::printf("sheet: %d x %d fields of 591 x 400 pixels, snapshot %.1f MB, folder %s\n",
                    sheet.ColumnCount, sheet.RowCount, double(size) / 1e6, qPrintable(dir.path()));
        while (store.CanUndo()) {
            t.start();
            if (!store.Undo(&sheet))
                break;
            undo.push_back(double(t.nsecsElapsed()) / 1e6);
            if (each)
                std::printf("undo %2d: %7.1f ms\n", store.Current + 1, undo.back());
        }
    }
    std::printf("edits: %d pushes, %d undos%s\n", int(push.size()), int(undo.size()),
                keepMemory ? " (freed memory kept for reuse)" : "");
    print("Push", stats(push));
    if (!undo.empty())
        print("Undo", stats(undo));
    return 0;
}
