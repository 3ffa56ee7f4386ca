// Where the start-up time of the window program goes: does what main() of the
// program does, step by step, and stops after the canvas's first paint event
// has been handled and the window flushed.
//
//   bench/startup/run.sh measures the real program; this one splits the time:
//   build/bin/startup_phases [RUNS] [FILE.rsd]     (needs DISPLAY)
//   NOWARM=1 leaves out the warm-up thread that main() starts, for comparison.
//
// Each run is a fresh process: the tool starts itself again with the fork time
// in the environment, so the time before main() (exec, dynamic linking, static
// initialisation) is counted exactly. The child works from a temporary folder
// with its own dorlix.ini (data folder set) as the program file's folder, so
// the first-start questions do not come up. Unlike main() it answers messages
// itself (OK) instead of showing message boxes.
#include "app/mainwindow.h"
#include "app/program_style.h"
#include "canvas/dpaintbox.h"
#include "platform/messages.h"
#include "platform/printer_cups.h"
#include "platform/start_warmup.h"
#include "platform/system.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <malloc.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
const char *const kSteps[] = {"before main()",
                              "QApplication",
                              "translator",
                              "TForm1",
                              "FormShow (settings, show, open file)",
                              "until the canvas paints",
                              "canvas painted, window flushed"};
constexpr int kStepCount = int(sizeof kSteps / sizeof *kSteps);

double nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

class PaintWatch : public QObject
{
  public:
    double painted = -1;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && painted < 0) {
            painted = nowMs();
            // The next turn of the event loop: paint event done and the
            // backing store flushed.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

// Image format plugins mapped into the process: each costs loading its
// libraries (TIFF, WebP, MNG ...); none are needed before a picture is read.
int LoadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    QSet<QByteArray> plugins;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/"))
            plugins.insert(line.mid(line.lastIndexOf('/')));
    return int(plugins.size());
}

// One start as the program does it; prints the step times on one line.
int child(int argc, char **argv, double t0)
{
    std::vector<double> t{nowMs()};
    if (!std::getenv("NOWARM"))
        platform::StartWarmUp();
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rückenschilder"));
    QApplication::setApplicationDisplayName(QStringLiteral("Rückenschilder"));
    platform::SetApplicationTitle(QStringLiteral("Rückenschilder"));
    InstallProgramStyle();
    t.push_back(nowMs());

    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    platform::SetMessageHandler([](const platform::Message &) { return int(platform::mrOk); });
    t.push_back(nowMs());

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("daten"));
    QFile ini(dir.filePath(QStringLiteral("dorlix.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 2;
    ini.write(("[Pfad]\nDaten=" + dir.filePath(QStringLiteral("daten")) + "\n").toLocal8Bit());
    ini.close();
    platform::SetProgramFilePath(dir.filePath(QStringLiteral("dorlix")));

    PaintWatch watch;
    const double setupMs = nowMs() - t.back(); // the temporary folder is not the program's work
    TForm1 window;
    window.DPaintbox1()->installEventFilter(&watch);
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && QFileInfo(args[1]).isFile())
        window.SetStartFile(QFileInfo(args[1]).absoluteFilePath());
    t.push_back(nowMs() - setupMs);
    window.FormShow();
    t.push_back(nowMs() - setupMs);
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    app.exec();
    if (watch.painted < 0)
        return 3;
    t.push_back(watch.painted - setupMs);
    t.push_back(nowMs() - setupMs);

    std::printf("%.3f", t[0] - t0);
    for (size_t i = 1; i < t.size(); ++i)
        std::printf(" %.3f", t[i] - t[i - 1]);
    std::printf(" %.3f %d %d\n", t.back() - t0, platform::CupsRequestCount(), LoadedImagePlugins());
    std::fflush(stdout);
    std::_Exit(0); // the program's own teardown is not part of the start
}
} // namespace

int main(int argc, char **argv)
{
    if (const char *t0 = std::getenv("DORLIX_BENCH_T0"))
        return child(argc, argv, std::atof(t0));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string file = argc > 2 ? argv[2] : std::string(DORLIX_EXAMPLES "/ordner-4-spalten.rsd");
    std::vector<std::vector<double>> rows;
    int requests = 0;
    int plugins = 0;
    for (int r = 0; r < runs; ++r) {
        int out[2];
        if (pipe(out))
            return 2;
        const double t0 = nowMs();
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            setenv("DORLIX_BENCH_T0", std::to_string(t0).c_str(), 1);
            execl("/proc/self/exe", argv[0], file.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::string line;
        char buf[512];
        for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
            line.append(buf, size_t(n));
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        std::vector<double> row;
        for (char *p = line.data(), *end; (row.size() < size_t(kStepCount + 3)); p = end) {
            const double v = std::strtod(p, &end);
            if (end == p)
                break;
            row.push_back(v);
        }
        if (row.size() != size_t(kStepCount + 3)) {
            std::fprintf(stderr, "run %d failed (status %d): %s\n", r + 1, status, line.c_str());
            return 2;
        }
        plugins = int(row.back());
        row.pop_back();
        requests = int(row.back());
        row.pop_back();
        std::printf("run %2d: %7.1f ms to the painted canvas\n", r + 1, row.back());
        rows.push_back(row);
        usleep(200000);
    }
    std::printf("\n%-40s %9s %9s\n", "step (ms, from fork)", "min", "median");
    for (int s = 0; s <= kStepCount; ++s) {
        std::vector<double> v;
        for (const auto &row : rows)
            v.push_back(row[size_t(s)]);
        std::sort(v.begin(), v.end());
        std::printf("%-40s %9.1f %9.1f\n", s < kStepCount ? kSteps[s] : "total", v.front(), v[v.size() / 2]);
    }
    std::printf("requests to the CUPS scheduler from the program's printer code: %d\n", requests);
    std::printf("image format plugins loaded: %d\n", plugins);
    return 0;
}
