// Test entry point: an offscreen application with a German locale, so that
// widgets, fonts and number formats behave as on a user's desktop, in a
// program folder of its own: what the tests keep there (settings, shifts of
// temporary printer queues, undo snapshots) never reaches the next start of
// the program built beside them.
#include "testsupport.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const TempProgramFolder program;
    return RUN_ALL_TESTS();
}
