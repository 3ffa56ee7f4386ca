#pragma once
// What CUPS-PDF queues of the tests wrote: the new PDF files of print jobs,
// rasterised with poppler, and where the ink lies on them.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <map>
#include <vector>

namespace printoutput
{

inline QString OutDir()
{
    return QDir::homePath() + QStringLiteral("/PDF");
}

inline QStringList Existing()
{
    return QDir(OutDir()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

// The numbers of the jobs CUPS knows for a queue (done or not); lpstat
// names each "QUEUE-NUMBER".
inline QSet<int> QueueJobs(const QString &queue)
{
    QProcess p;
    p.start(QStringLiteral("lpstat"),
            {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue});
    p.waitForFinished(10000);
    QSet<int> ids;
    const QString prefix = queue + QLatin1Char('-');
    for (const QString &line : QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QString id = line.section(QLatin1Char(' '), 0, 0);
        if (id.startsWith(prefix))
            ids.insert(id.mid(prefix.size()).toInt());
    }
    return ids;
}

// The PDF files CUPS-PDF wrote for the queue's jobs whose file names match
// pattern, after the files already there, by job number; waits until the
// expected ones are complete (at most a minute). Other test programs may
// print at the same time into the same folder: only this queue's jobs count.
inline std::map<int, QString> NewJobs(const QString &queue, const QStringList &before, int expected,
                                      const QString &pattern = QStringLiteral("*Kopie*-job_*.pdf"))
{
    std::map<int, QString> jobs;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        jobs.clear();
        const QSet<int> ours = QueueJobs(queue);
        const QDir dir(OutDir());
        for (const QString &name : dir.entryList({pattern}, QDir::Files)) {
            if (before.contains(name))
                continue;
            const int job = name.section(QStringLiteral("-job_"), -1).section(QLatin1Char('.'), 0, 0).toInt();
            if (!ours.contains(job))
                continue;
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {dir.filePath(name)});
            info.waitForFinished(10000);
            if (info.exitCode() != 0)
                continue; // still being written
            jobs[job] = dir.filePath(name);
        }
        if (int(jobs.size()) >= expected)
            break;
        QThread::msleep(100);
    }
    return jobs;
}

inline QImage Rasterise(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                         QStringLiteral("-singlefile"), pdf, base});
    p.waitForFinished(60000);
    return QImage(base + QStringLiteral(".pgm"));
}

// Centres (mm) of the dark runs along a row (horizontal) or a column at atMm.
inline std::vector<double> InkCentres(const QImage &img, int dpi, double atMm, bool alongRow)
{
    const double k = dpi / 25.4;
    const int fixed = int(atMm * k);
    const int n = alongRow ? img.width() : img.height();
    std::vector<double> centres;
    int start = -1;
    for (int i = 0; i <= n; ++i) {
        const bool ink = i < n && qGray(alongRow ? img.pixel(i, fixed) : img.pixel(fixed, i)) < 160;
        if (ink && start < 0)
            start = i;
        if (!ink && start >= 0) {
            centres.push_back((start + i) / 2.0 / k);
            start = -1;
        }
    }
    return centres;
}

inline bool HavePoppler()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/pdftoppm")) &&
           QFileInfo::exists(QStringLiteral("/usr/bin/pdfinfo"));
}

} // namespace printoutput
