#include "platform/file_dialogs.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

// The question about the file type, as the program asks it.
const QString kQuestion =
    QStringLiteral("Hiermit legen Sie fest, dass Rückenschilddateien (*.rsd)\n"
                   "per Doppelklick mit dorlix geöffnet werden können.\n\n"
                   "Es wird ein Eintrag in den Dateityp-Einstellungen Ihres\n"
                   "Benutzerkontos vorgenommen. Falls dies nicht möglich ist, wenden Sie sich \n"
                   "bitte an Ihren Systemadministrator.");

TEST(MessageBoxWidth, NoLineOfAQuestionIsWrapped)
{
    QLabel label(kQuestion);
    label.setWordWrap(true);
    const int width = platform::MessageTextWidth(kQuestion, label.font(), 1920);
    const QFontMetrics fm(label.font());
    const int lines = int(kQuestion.count(QLatin1Char('\n'))) + 1;
    // Laid out at that width the text takes exactly its own lines.
    EXPECT_LE(label.heightForWidth(width), lines * fm.lineSpacing() + 2);
}

TEST(MessageBoxWidth, LongTextsStillWrapOnNarrowScreens)
{
    const QString longLine(400, QLatin1Char('x'));
    const QFont font = QApplication::font();
    EXPECT_EQ(platform::MessageTextWidth(longLine, font, 1920), 720);
    EXPECT_EQ(platform::MessageTextWidth(longLine, font, 600), 400);
    EXPECT_LT(platform::MessageTextWidth(QStringLiteral("Kurz."), font, 1920), 200);
}

TEST(FileDialog, OpenDialogProposesThePattern)
{
    QTemporaryDir folder;
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Open;
    r.title = QStringLiteral("Rückenschilddatei öffnen");
    r.startFolder = folder.path();
    r.fileName = folder.filePath(QStringLiteral("*.rsd"));
    r.filter = QStringLiteral("Rückenschilddateien (*.rsd)|*.rsd");
    QString shownName, shownFolder;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        if (auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            shownName = edit->text();
        shownFolder = dlg->directory().absolutePath();
        dlg->reject();
    });
    EXPECT_TRUE(platform::ExecuteFileDialog(nullptr, r).isEmpty());
    EXPECT_EQ(shownName, QStringLiteral("*.rsd"));
    EXPECT_EQ(shownFolder, QDir(folder.path()).absolutePath());
}

} // namespace
