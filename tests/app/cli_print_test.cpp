// dorlix-cli print: its forms and errors, and through CUPS-PDF queues of the
// tests' own the documents per copy, the shift kept for the printer, the
// status check and the calibration page with its scales.
#include "../platform/print_output.h"
#include "../platform/test_queues.h"

#include "platform/ini.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace printoutput;
using testqueues::TestQueue;

namespace
{
const QString kCli = QStringLiteral(DORLIX_BIN_DIR "/dorlix-cli");
const QString kBinders = QStringLiteral(DORLIX_SOURCE_DIR "/examples/ordner-4-spalten.rsd");

struct CliRun {
    int code = -1;
    QString err;
};

CliRun runCli(const QStringList &args,
              const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
              const QString &program = kCli)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, QStringList{QStringLiteral("print")} + args);
    p.waitForFinished(120000);
    CliRun r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// An environment in which no print system answers.
QProcessEnvironment NoPrintSystem(const QTemporaryDir &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), dir.filePath(QStringLiteral("kein-cups.sock")));
    env.remove(QStringLiteral("PRINTER"));
    env.remove(QStringLiteral("LPDEST"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}
} // namespace

TEST(CliPrint, BadArgumentsAndFilesFailWithAGermanMessage)
{
    QTemporaryDir dir;
    const QProcessEnvironment env = NoPrintSystem(dir);
    struct Case {
        QStringList args;
        QString says;
    };
    const QString missing = dir.filePath(QStringLiteral("fehlt.rsd"));
    QFile junk(dir.filePath(QStringLiteral("kaputt.rsd")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("kein Rückenschild");
    junk.close();
    const Case cases[] = {
        {{}, QStringLiteral("Aufruf: dorlix-cli print")},
        {{kBinders, QStringLiteral("--copies"), QStringLiteral("0")}, QStringLiteral("Anzahl der Kopien")},
        {{kBinders, QStringLiteral("--copies"), QStringLiteral("256")}, QStringLiteral("Anzahl der Kopien")},
        {{kBinders, QStringLiteral("--copies"), QStringLiteral("zwei")}, QStringLiteral("Anzahl der Kopien")},
        {{kBinders, QStringLiteral("--copies")}, QStringLiteral("fehlt der Wert")},
        {{kBinders, QStringLiteral("--shift-x"), QStringLiteral("links")},
         QStringLiteral("Blattverschiebung")},
        {{kBinders, QStringLiteral("--shift-y"), QStringLiteral("300")}, QStringLiteral("Blattverschiebung")},
        {{kBinders, QStringLiteral("--shift-y"), QStringLiteral("-10,5")},
         QStringLiteral("Blattverschiebung")},
        {{kBinders, QStringLiteral("--duplex")}, QStringLiteral("Unbekannte Option: --duplex")},
        {{kBinders, kBinders}, QStringLiteral("Aufruf: dorlix-cli print")},
        {{QStringLiteral("--calibration"), kBinders}, QStringLiteral("Aufruf: dorlix-cli print")},
        {{QStringLiteral("--calibration"), QStringLiteral("--cutlines")}, QStringLiteral("Testseite")},
        {{missing}, QStringLiteral("wurde nicht gefunden")},
        {{dir.path()}, QStringLiteral("ist ein Ordner")},
        {{junk.fileName()}, QString()},
        {{kBinders, QStringLiteral("--printer"), QStringLiteral("GibtEsNicht")},
         QStringLiteral("Der Drucker \"GibtEsNicht\" ist nicht bekannt.")},
        {{kBinders}, QStringLiteral("kein Drucker eingerichtet")},
        {{QStringLiteral("--calibration")}, QStringLiteral("kein Drucker eingerichtet")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = runCli(c.args, env);
        EXPECT_EQ(r.code, 2);
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
}

TEST(CliPrint, CopiesAreDocumentsOfTheirOwnAndTheKeptShiftApplies)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    TestQueue queue(QStringLiteral("CliKopien"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();

    // A program folder of its own with the shift kept for the queue.
    QTemporaryDir folder;
    const QString cli = folder.filePath(QStringLiteral("dorlix-cli"));
    ASSERT_TRUE(QFile::copy(kCli, cli));
    {
        platform::TIniFile ini(folder.filePath(QStringLiteral("dorlix.ini")));
        ini.WriteFloat(QStringLiteral("DruckVH"), queue.Name(), 6);
        ini.WriteFloat(QStringLiteral("DruckVV"), queue.Name(), 0);
    }
    QStringList before = Existing();
    CliRun r = runCli({kBinders, QStringLiteral("--printer"), queue.Name(), QStringLiteral("--copies"),
                       QStringLiteral("2"), QStringLiteral("--cutlines")},
                      QProcessEnvironment::systemEnvironment(), cli);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    std::map<int, QString> jobs = NewJobs(queue.Name(), before, 2);
    ASSERT_EQ(jobs.size(), 2u);
    int n = 0;
    std::vector<double> shifted;
    for (const auto &[job, path] : jobs) {
        ++n;
        EXPECT_TRUE(
            QFileInfo(path).fileName().startsWith(QStringLiteral("Rückenschild__%1_Kopie-job_").arg(n)))
            << path.toStdString();
        if (n == 1)
            shifted = InkCentres(Rasterise(path, 100), 100, 5, true);
        QFile::remove(path);
    }

    // Given on the command line, the shift wins over the kept one.
    before = Existing();
    r = runCli({kBinders, QStringLiteral("--printer"), queue.Name(), QStringLiteral("--cutlines"),
                QStringLiteral("--shift-x"), QStringLiteral("0")},
               QProcessEnvironment::systemEnvironment(), cli);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    jobs = NewJobs(queue.Name(), before, 1);
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<double> plain = InkCentres(Rasterise(jobs.begin()->second, 100), 100, 5, true);
    QFile::remove(jobs.begin()->second);
    // Above the sheet only the vertical cut lines run.
    ASSERT_EQ(plain.size(), 5u);
    ASSERT_EQ(shifted.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_NEAR(shifted[i], plain[i] + 6, 0.4);
}

TEST(CliPrint, AStoppedPrinterFailsWithItsStatusUnlessForced)
{
    TestQueue queue(QStringLiteral("CliPause"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    ASSERT_TRUE(testqueues::RunTool(QStringLiteral("cupsdisable"), {queue.Name()}));
    CliRun r = runCli({kBinders, QStringLiteral("--printer"), queue.Name()});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("Der Drucker meldet :  Drucker befindet sich im Pause-Zustand.")))
        << r.err.toStdString();
    QString jobs;
    testqueues::RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue.Name()}, &jobs);
    EXPECT_TRUE(jobs.trimmed().isEmpty()) << jobs.toStdString();

    r = runCli({kBinders, QStringLiteral("--printer"), queue.Name(), QStringLiteral("--force")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    testqueues::RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue.Name()}, &jobs);
    EXPECT_TRUE(jobs.contains(queue.Name())) << jobs.toStdString();
    testqueues::RunTool(QStringLiteral("cancel"), {QStringLiteral("-a"), queue.Name()});
    testqueues::RunTool(QStringLiteral("cupsenable"), {queue.Name()});

    // A network printer nobody answers for.
    TestQueue gone(QStringLiteral("CliWeg"), {},
                   QStringLiteral("socket://127.0.0.1:%1").arg(testqueues::ClosedLocalPort()));
    ASSERT_TRUE(gone.Ok()) << gone.Why().toStdString();
    r = runCli({QStringLiteral("--calibration"), QStringLiteral("--printer"), gone.Name()});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral(" Drucker ist offline (ausgeschaltet!)")))
        << r.err.toStdString();
}

TEST(CliPrint, TheCalibrationPageHasItsScalesAndCrossesWhereTheySay)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdfinfo/pdftoppm fehlen (poppler-utils).";
    TestQueue queue(QStringLiteral("CliMessen"));
    if (!queue.Ok())
        GTEST_SKIP() << "Keine CUPS-Test-Warteschlange: " << queue.Why().toStdString();
    const QStringList before = Existing();
    const CliRun r = runCli({QStringLiteral("--calibration"), QStringLiteral("--printer"), queue.Name()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const std::map<int, QString> jobs =
        NewJobs(queue.Name(), before, 1, QStringLiteral("Testseite_zum_Ausmessen-job_*.pdf"));
    ASSERT_EQ(jobs.size(), 1u);
    const int dpi = 200;
    const QImage page = Rasterise(jobs.begin()->second, dpi);
    QFile::remove(jobs.begin()->second);
    ASSERT_FALSE(page.isNull());
    const double w = page.width() * 25.4 / dpi, h = page.height() * 25.4 / dpi;
    EXPECT_NEAR(w, 210, 1); // the queue's A4 paper, upright
    EXPECT_NEAR(h, 297, 1);

    auto near = [](const std::vector<double> &centres, double mm) {
        for (double c : centres)
            if (std::abs(c - mm) < 0.3)
                return true;
        return false;
    };
    // Cross A: its vertical arm 20 mm from the left edge, its horizontal arm
    // 20 mm from the top.
    EXPECT_TRUE(near(InkCentres(page, dpi, 17, true), 20));
    EXPECT_TRUE(near(InkCentres(page, dpi, 17, false), 20));
    // Cross D: 20 mm from the right and the bottom edge.
    EXPECT_TRUE(near(InkCentres(page, dpi, h - 17, true), w - 20));
    EXPECT_TRUE(near(InkCentres(page, dpi, w - 17, false), h - 20));
    // The left and right scales: 5 mm above the middle only the long ticks
    // (every 10 mm) reach; counted from their paper edge.
    const std::vector<double> ticks = InkCentres(page, dpi, h / 2 - 5, true);
    for (double mm : {10.0, 20.0, 30.0, 40.0}) {
        EXPECT_TRUE(near(ticks, mm)) << mm;
        EXPECT_TRUE(near(ticks, w - mm)) << mm;
    }
    EXPECT_FALSE(near(ticks, 15));
    // The top scale: 5 mm right of the middle, the long ticks down from the top.
    const std::vector<double> down = InkCentres(page, dpi, w / 2 + 5, false);
    for (double mm : {10.0, 20.0, 30.0})
        EXPECT_TRUE(near(down, mm)) << mm;
}
