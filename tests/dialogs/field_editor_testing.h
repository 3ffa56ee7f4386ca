#pragma once
// Shared set-up of the field editor tests: a host that counts commits, a
// field 50 mm wide, and helpers that drive the editor through real input.

#include "controls/SpezialSpin.h"
#include "dialogs/pictextplus.h"
#include "dialogs/pictextplus_widgets.h"
#include "document/document.h"
#include "model/rs.h"
#include "model/undobj.h"
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A document with a 2 × 2 sheet whose field (1, 0) is edited: 50 mm wide,
// a left-aligned text on green. Commits are counted by kind.
inline TRSObject &PrepareField(TDocument &doc)
{
    doc.Sheet().SetLayout(2, 2, 210, 297, 10, 10, 10, 10, 0, 0, clWhite);
    TRSObject *f = doc.Sheet().GetField(1, 0);
    f->SetFrame(10, 20, 60, 40);
    f->Kind = TFieldKind::Text;
    f->Text = "Alt";
    f->FontName = "Arial";
    f->FontHeight = 6;
    f->Alignment = 0;
    f->BackgroundColor = 0x00FF00; // $00BBGGRR: green
    return *f;
}

class FieldEditorTest : public ::testing::Test
{
  protected:
    FieldEditorTest() : field_(PrepareField(doc_))
    {
        doc_.Undo().SetUser("tester");
        QObject::connect(&doc_, &TDocument::Changed,
                         [this](bool undoable) { ++(undoable ? undoableCommits_ : liveCommits_); });
    }

    // Opens the editor without a modal loop.
    TForm_pictextplus *Open()
    {
        dlg_ = std::make_unique<TForm_pictextplus>(doc_, &field_);
        dlg_->show();
        dlg_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg_.get()));
        return dlg_.get();
    }

    void ClickTab(int index)
    {
        QTabBar *bar = dlg_->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // Chooses an item of a menu that is showing, by mouse.
    static void ChooseMenuItem(QMenu *menu, const QString &text)
    {
        ASSERT_TRUE(menu->isVisible());
        for (QAction *a : menu->actions())
            if (a->text() == text) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        FAIL() << "no item " << text.toStdString();
    }

    // Types a value into a spin field and confirms it with Enter.
    static void TypeSpin(TSpezialSpin *spin, const QString &text)
    {
        spin->Editor()->setFocus();
        spin->Editor()->selectAll();
        QTest::keyClicks(spin->Editor(), text);
        QTest::keyClick(spin->Editor(), Qt::Key_Return);
    }

    TempProgramFolder folder_; // the undo snapshots go next to the program
    TDocument doc_;
    TRSObject &field_;
    int liveCommits_ = 0;
    int undoableCommits_ = 0;
    std::unique_ptr<TForm_pictextplus> dlg_;
};

// Types text key by key, also characters beyond ASCII (as a keyboard layout
// with umlauts delivers them).
inline void TypeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Runs action once the next modal dialog shows.
inline void WhenModal(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action] {
        for (int i = 0; i < 200; ++i) {
            if (QWidget *w = QApplication::activeModalWidget()) {
                if (w->isVisible()) {
                    action(w);
                    return;
                }
            }
            QTest::qWait(10);
        }
        ADD_FAILURE() << "no modal dialog appeared";
    });
}
