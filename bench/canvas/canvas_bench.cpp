// Repaint of a full canvas (2,000 texts, 2,000 lines) at zoom 1, repaint of
// a 100 x 100 pixel part of it, and adding 2,000 texts with their measuring.

#include "canvas/dpaintbox.h"
#include "platform/printer.h"

#include <QApplication>
#include <QImage>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <random>

using canvas::TDPaintbox;

namespace
{

void AddTexts(TDPaintbox &c, std::mt19937 &rng, int count)
{
    std::uniform_real_distribution<double> x(5, 190), y(5, 285), h(2.5, 6.0);
    std::uniform_int_distribution<int> align(0, 8), word(0, 5);
    static const char *words[] = {"Ordner",       "Rechnungen 2026", "Steuer",
                                  "Versicherung", "Kontoauszüge",    "Verträge A-Z"};
    for (int i = 0; i < count; ++i) {
        c.SetTextStyle(QStringLiteral("Arial"), 0, 0, align(rng), h(rng), i % 10 == 0 ? 90 : 0);
        c.AddText(QString::fromUtf8(words[word(rng)]), x(rng), y(rng));
    }
}

void AddLines(TDPaintbox &c, std::mt19937 &rng, int count)
{
    std::uniform_real_distribution<double> x(5, 200), y(5, 290), len(5, 60);
    for (int i = 0; i < count; ++i) {
        c.SetLineStyle(i % 4 == 0 ? 1 : 0, 0x404040, 0.2);
        const double x1 = x(rng), y1 = y(rng);
        if (i % 2)
            c.AddLine(x1, y1, x1 + len(rng), y1);
        else
            c.AddLine(x1, y1, x1, y1 + len(rng));
    }
}

struct Filled {
    Filled(int texts, int lines)
    {
        c.SetZoomFaktor(1.0);
        std::mt19937 rng(4711);
        AddTexts(c, rng, texts);
        AddLines(c, rng, lines);
        image = QImage(c.size(), QImage::Format_RGB32);
    }
    TDPaintbox c;
    QImage image;
};

Filled &Canvas()
{
    static Filled f(2000, 2000);
    return f;
}

// The share of texts and of lines in a full repaint.
void BM_FullRepaintTextsOnly(benchmark::State &state)
{
    static Filled f(2000, 0);
    for (auto _ : state)
        f.c.render(&f.image, QPoint(), QRegion(f.c.rect()), QWidget::RenderFlags());
}
BENCHMARK(BM_FullRepaintTextsOnly)->Unit(benchmark::kMillisecond);

void BM_FullRepaintLinesOnly(benchmark::State &state)
{
    static Filled f(0, 2000);
    for (auto _ : state)
        f.c.render(&f.image, QPoint(), QRegion(f.c.rect()), QWidget::RenderFlags());
}
BENCHMARK(BM_FullRepaintLinesOnly)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State &state)
{
    Filled &f = Canvas();
    for (auto _ : state) {
        f.c.render(&f.image, QPoint(), QRegion(f.c.rect()), QWidget::RenderFlags());
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_ClipRepaint100x100(benchmark::State &state)
{
    Filled &f = Canvas();
    const QRect clip(350, 500, 100, 100);
    for (auto _ : state) {
        f.c.render(&f.image, clip.topLeft(), QRegion(clip), QWidget::RenderFlags());
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_ClipRepaint100x100)->Unit(benchmark::kMillisecond);

void BM_Add2000Texts(benchmark::State &state)
{
    TDPaintbox c;
    for (auto _ : state) {
        state.PauseTiming();
        c.ClearPage();
        std::mt19937 rng(42);
        state.ResumeTiming();
        AddTexts(c, rng, 2000);
    }
}
BENCHMARK(BM_Add2000Texts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The default page, whatever printers this machine has.
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
