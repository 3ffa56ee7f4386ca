#include "platform/file_dialogs.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
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

// The type column: label files by their name even where the type database
// does not know them; nothing is called "unknown".
TEST(FileDialog, TypeColumnNamesLabelFilesAndNothingUnknown)
{
    QTemporaryDir folder;
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return QFileInfo(f.fileName());
    };
    const QFileInfo label = write("adressen.RSD", QByteArray(64, '\x01'));
    const QFileInfo odd = write("daten.xyzzy", QByteArray("\x00\x01\x02\xff\xfe", 5));
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Open;
    r.title = QStringLiteral("Rückenschilddatei öffnen");
    r.startFolder = folder.path();
    r.filter = QStringLiteral("Alle Dateien (*.*)|*");
    QString labelType, oddType, folderType;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        ASSERT_NE(dlg->iconProvider(), nullptr);
        labelType = dlg->iconProvider()->type(label);
        oddType = dlg->iconProvider()->type(odd);
        folderType = dlg->iconProvider()->type(QFileInfo(folder.path()));
        dlg->reject();
    });
    platform::ExecuteFileDialog(nullptr, r);
    EXPECT_EQ(labelType, QStringLiteral("Rückenschilddatei"));
    EXPECT_FALSE(oddType.isEmpty());
    EXPECT_NE(oddType, QStringLiteral("unknown"));
    EXPECT_FALSE(folderType.isEmpty());
}

} // namespace
