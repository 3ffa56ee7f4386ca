#include "platform/shell.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

TEST(FolderBrowser, DialogOpensAtTheStartFolderAndShowsTheSelectionInItsTitle)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Etiketten")));
    std::unique_ptr<QFileDialog> d(
        platform::CreateFolderDialog(nullptr, QStringLiteral("Datenpfad wählen..."), dir.path(), true));
    EXPECT_EQ(d->labelText(QFileDialog::LookIn), QStringLiteral("Datenpfad wählen..."));
    EXPECT_EQ(QDir(d->directory()).absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_EQ(d->windowTitle(), QDir::toNativeSeparators(QDir(dir.path()).absolutePath()));
    EXPECT_TRUE(d->testOption(QFileDialog::ShowDirsOnly));
    EXPECT_FALSE(d->testOption(QFileDialog::ReadOnly)) << "new folders allowed";
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);

    d->show();
    EXPECT_EQ(d->pos(), QPoint(100, 100));
    auto *newFolder = d->findChild<QToolButton *>(QStringLiteral("newFolderButton"));
    ASSERT_NE(newFolder, nullptr);
    EXPECT_TRUE(newFolder->isEnabled());

    const QString sub = QDir(dir.path()).filePath(QStringLiteral("Etiketten"));
    emit d->currentChanged(sub);
    EXPECT_EQ(d->windowTitle(), QDir::toNativeSeparators(sub));
    emit d->directoryEntered(sub + QLatin1Char('/'));
    EXPECT_EQ(d->windowTitle(), QDir::toNativeSeparators(sub)) << "without a trailing separator";
    emit d->currentChanged(QString());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Bitte einen Ordner ausgewählen..."));
}

TEST(FolderBrowser, WithoutNewFolderTheDialogOffersNone)
{
    QTemporaryDir dir;
    std::unique_ptr<QFileDialog> d(
        platform::CreateFolderDialog(nullptr, QStringLiteral("Ordner"), dir.path(), false));
    EXPECT_TRUE(d->testOption(QFileDialog::ReadOnly));
    d->show();
    auto *newFolder = d->findChild<QToolButton *>(QStringLiteral("newFolderButton"));
    ASSERT_NE(newFolder, nullptr);
    EXPECT_FALSE(newFolder->isEnabled() && newFolder->isVisible());
}

TEST(FolderBrowser, ExecuteStartsAtStartFolderAndKeepsTheLastChoice)
{
    QString askedCaption, askedStart;
    QString answer = QStringLiteral("/daten/etiketten");
    const auto previous = platform::SetFolderDialog([&](const QString &caption, const QString &start) {
        askedCaption = caption;
        askedStart = start;
        return answer;
    });
    platform::TFolderBrowser browser(QStringLiteral("Ordner für die Etiketten"));
    browser.StartFolder = QStringLiteral("/daten");
    EXPECT_TRUE(browser.Execute());
    EXPECT_EQ(askedCaption, QStringLiteral("Ordner für die Etiketten"));
    EXPECT_EQ(askedStart, QStringLiteral("/daten"));
    EXPECT_EQ(browser.SelectedFolder, QStringLiteral("/daten/etiketten"));
    answer.clear();
    EXPECT_FALSE(browser.Execute()) << "cancelled";
    EXPECT_EQ(browser.SelectedFolder, QStringLiteral("/daten/etiketten"));
    platform::SetFolderDialog(previous);
}
