// Opening time of the sheet layout dialog, with and without the vendor label
// products, and how long until the products are listed (run by hand, on a
// real display or with QT_QPA_PLATFORM=offscreen).
//   bench_layout_dialog [RUNS]              figures
//   bench_layout_dialog --show SECONDS [FILTER]
//                                           keeps one dialog open (to look at)
#include "dialogs/rsneu.h"
#include "platform/printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
struct Figures {
    std::vector<double> open, listed;
};

// Constructs and shows the dialog until its window is exposed (open), then
// waits until the products are in the list (listed, from construction).
void measure(int runs, bool wantList, Figures *f)
{
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        {
            TForm_RSNEU dlg;
            dlg.show();
            if (!QTest::qWaitForWindowExposed(&dlg))
                std::printf("window not exposed\n");
            f->open.push_back(t.nsecsElapsed() / 1e6);
            if (wantList) {
                while (dlg.lst_Etiketten->count() == 0 && t.elapsed() < 10000)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
                f->listed.push_back(t.nsecsElapsed() / 1e6);
            }
            dlg.hide();
        }
        QCoreApplication::processEvents();
    }
}

void print(const char *what, std::vector<double> v)
{
    if (v.empty())
        return;
    std::sort(v.begin(), v.end());
    std::printf("%-44s best %7.1f ms, median %7.1f ms, worst %7.1f ms (%zu runs)\n", what, v.front(),
                v[v.size() / 2], v.back(), v.size());
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::Printer::Instance().SetSystemPrintersEnabled(false);
    platform::Printer::Instance().Refresh();
    const QStringList args = app.arguments();
    if (args.size() > 2 && args[1] == QLatin1String("--show")) {
        TForm_RSNEU dlg;
        dlg.setWindowTitle(QStringLiteral("Neues Rückenschild definieren..."));
        dlg.show();
        if (args.size() > 3)
            QTimer::singleShot(800, &dlg, [&] {
                dlg.edt_EtikettSuche->setText(args[3]);
                for (int row = 0; row < dlg.lst_Etiketten->count(); ++row)
                    if (!dlg.lst_Etiketten->item(row)->isHidden()) {
                        dlg.lst_Etiketten->setCurrentRow(row);
                        break;
                    }
            });
        QTimer::singleShot(int(args[2].toDouble() * 1000), &app, &QApplication::quit);
        return app.exec();
    }
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 20;

    // Without the database first: nothing is read in any run.
    QTemporaryDir empty;
    const QByteArray folder = qgetenv("DORLIX_LABEL_TEMPLATES");
    qputenv("DORLIX_LABEL_TEMPLATES", empty.path().toLocal8Bit());
    Figures none;
    measure(runs, false, &none);
    if (folder.isEmpty())
        qunsetenv("DORLIX_LABEL_TEMPLATES");
    else
        qputenv("DORLIX_LABEL_TEMPLATES", folder);
    std::printf("template folder %s\n", LabelTemplateFolder().toUtf8().constData());

    // The first dialog of the process starts the reading; later ones get the
    // products read before.
    Figures first, later;
    measure(1, true, &first);
    measure(runs, true, &later);
    print("open, no database", none.open);
    print("open, first dialog (reading starts)", first.open);
    print("products listed, first dialog", first.listed);
    print("open, later dialogs (products read)", later.open);
    print("products listed, later dialogs", later.listed);
    return 0;
}
