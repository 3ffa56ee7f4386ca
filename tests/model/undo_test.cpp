#include "model/rs.h"
#include "model/undobj.h"

#include "platform/system.h"
#include "temp_desktop_home.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace
{

void makeSheet(TRS &rs, const char *text)
{
    rs.SetLayout(2, 3, 297, 210, 26.5, 26.5, 9, 9, 0, 4, clYellow);
    rs.GetField(0, 0)->Text = text;
}

std::string textOf(const TRS &rs)
{
    return rs.GetField(0, 0)->Text;
}

// A change of the sheet followed by its snapshot, as every editing command does.
void change(TRSUndo &undo, TRS &rs, const char *text)
{
    rs.GetField(0, 0)->Text = text;
    undo.Push(&rs);
}

QStringList snapshotFiles(const QString &folder)
{
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name))
        if (name != QStringLiteral("dorlix"))
            out << name;
    return out;
}

// Text of field (0,0) stored in a snapshot file.
std::string storedText(const QString &path)
{
    MessageCapture quiet;
    TRS probe;
    if (!probe.LoadFromFile(path))
        return "<unreadable>";
    return textOf(probe);
}

} // namespace

TEST(UndoStore, NamesFollowTheProgramFileAndTheLoginName)
{
    TempProgramFolder folder;
    TRSUndo undo;
    EXPECT_TRUE(undo.BaseName.isEmpty()); // no user, no names
    EXPECT_EQ(undo.Current, 0);
    EXPECT_EQ(undo.Previous, 0);
    EXPECT_FALSE(undo.CanUndo());

    undo.SetUser(QStringLiteral("u1"));
    EXPECT_EQ(undo.UserSuffix, QStringLiteral("u1"));
    EXPECT_EQ(undo.BaseName, folder.File("dorlix_u1"));
    EXPECT_EQ(undo.SnapshotPath(3), folder.File("dorlix_u1.3"));

    // A dotted login name loses its last dotted part in the file names.
    undo.SetUser(QStringLiteral("john.doe"));
    EXPECT_EQ(undo.BaseName, folder.File("dorlix_john.doe"));
    EXPECT_EQ(undo.SnapshotPath(12), folder.File("dorlix_john.12"));

    // Long names are cut to 15 characters, always the same way.
    undo.SetUser(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(undo.UserSuffix, QStringLiteral("abcdefghijklmno"));
    EXPECT_EQ(undo.SnapshotPath(1), folder.File("dorlix_abcdefghijklmno.1"));

    // A name never leads out of the program folder.
    undo.SetUser(QStringLiteral("../x/y"));
    EXPECT_EQ(QFileInfo(undo.SnapshotPath(1)).absolutePath(), folder.Path());

    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.b/prog.exe"), QStringLiteral(".7")),
              QStringLiteral("/a.b/prog.7"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.b/prog"), QString()), QStringLiteral("/a.b/prog"));
}

TEST(UndoStore, PushWritesNothingWithoutUserSheetOrWritableFolder)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "A");
    {
        TRSUndo undo;
        undo.Push(&rs); // no user yet
        undo.SetUser(QStringLiteral("u1"));
        undo.Push(nullptr);
        EXPECT_EQ(undo.Current, 0);
        EXPECT_TRUE(snapshotFiles(folder.Path()).isEmpty());

        // No place for snapshots at all (neither the program folder nor the
        // user's state folder): nothing is written.
        TempDesktopHome home;
        home.set("XDG_STATE_HOME", QStringLiteral("/proc/dorlix"));
        platform::SetDesktopFolder(folder.Path());
        TRSUndo nowhere;
        nowhere.SetUser(QStringLiteral("u1"));
        nowhere.Push(&rs);
        platform::SetDesktopFolder(QString());
        EXPECT_EQ(nowhere.Current, 0);
        EXPECT_TRUE(snapshotFiles(folder.Path()).isEmpty());
    }
}

TEST(UndoStore, UndoStepsBackThroughTheChangesAfterOpening)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");
    TRSUndo undo;
    undo.SetUser(QStringLiteral("u1"));

    // Opening a file: Clear, then the opened sheet becomes snapshot 1.
    undo.Clear();
    rs.Modified = true;
    undo.Push(&rs);
    EXPECT_EQ(undo.Current, 1);
    EXPECT_FALSE(undo.CanUndo());
    // Writing a snapshot is a save of the sheet into the snapshot file.
    EXPECT_FALSE(rs.Modified);
    EXPECT_EQ(rs.FileName, folder.File("dorlix_u1.1"));

    change(undo, rs, "A");
    change(undo, rs, "B");
    EXPECT_EQ(snapshotFiles(folder.Path()),
              (QStringList{"dorlix_u1.1", "dorlix_u1.2", "dorlix_u1.3", "dorlix_u1.lock"}));
    EXPECT_EQ(undo.Current, 3);
    EXPECT_EQ(undo.Previous, 2);
    EXPECT_TRUE(undo.CanUndo());

    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "A");
    EXPECT_EQ(undo.Current, 2);
    EXPECT_EQ(undo.Previous, 1);
    EXPECT_TRUE(undo.CanUndo());

    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "opened");
    EXPECT_EQ(undo.Current, 1);
    EXPECT_EQ(undo.Previous, 0);
    EXPECT_FALSE(undo.CanUndo());

    // There is no snapshot 0: nothing changes.
    EXPECT_FALSE(undo.Undo(&rs));
    EXPECT_EQ(undo.Current, 1);
    EXPECT_EQ(undo.Previous, 0);
    EXPECT_EQ(textOf(rs), "opened");
    EXPECT_FALSE(undo.Undo(nullptr));
}

TEST(UndoStore, AChangeAfterAnUndoReplacesTheSnapshotsAheadOfIt)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");
    TRSUndo undo;
    undo.SetUser(QStringLiteral("u1"));
    undo.Push(&rs);
    change(undo, rs, "A");
    ASSERT_TRUE(undo.Undo(&rs));
    change(undo, rs, "C");
    EXPECT_EQ(undo.Current, 2);
    EXPECT_EQ(storedText(undo.SnapshotPath(2)), "C");
    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "opened");

    // "Neu" does not restart the numbering: undo goes back to the sheet before.
    TRS fresh;
    makeSheet(fresh, "other");
    change(undo, rs, "D");
    rs.Assign(fresh);
    undo.Push(&rs);
    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "D");
}

TEST(UndoStore, MissingOrBrokenSnapshotsAreReported)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");
    TRSUndo undo;
    undo.SetUser(QStringLiteral("u1"));
    undo.Push(&rs);
    change(undo, rs, "A");
    change(undo, rs, "B");

    // A snapshot that is gone: false, nothing changes.
    ASSERT_TRUE(QFile::remove(undo.SnapshotPath(2)));
    EXPECT_FALSE(undo.Undo(&rs));
    EXPECT_EQ(undo.Current, 3);
    EXPECT_EQ(undo.Previous, 2);
    EXPECT_EQ(textOf(rs), "B");

    // A damaged one: the reader's message, the sheet stays, the next undo
    // goes past it.
    change(undo, rs, "C");
    {
        QFile f(undo.SnapshotPath(3));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("RUECKENSCHILD_00000004");
    }
    QString error;
    EXPECT_FALSE(undo.Undo(&rs, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("beschädigt"))) << error.toStdString();
    EXPECT_EQ(textOf(rs), "C");
    EXPECT_EQ(undo.Current, 3);
    EXPECT_EQ(undo.Previous, 2);
}

TEST(UndoStore, ClearAndDestructionDeleteTheSnapshots)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");
    {
        TRSUndo undo;
        undo.SetUser(QStringLiteral("u1"));
        undo.Push(&rs);
        change(undo, rs, "A");
        change(undo, rs, "B");
        ASSERT_TRUE(undo.Undo(&rs));
        undo.Clear();
        EXPECT_EQ(snapshotFiles(folder.Path()), QStringList{"dorlix_u1.lock"});
        EXPECT_EQ(undo.Current, 0);
        EXPECT_EQ(undo.Previous, 1); // the next push sets it
        EXPECT_FALSE(undo.CanUndo());

        undo.Push(&rs);
        EXPECT_EQ(undo.Current, 1);
        EXPECT_EQ(undo.Previous, 0);

        // Far beyond the usual range: still deleted.
        undo.Current = 1200;
        undo.Push(&rs);
        EXPECT_TRUE(QFileInfo::exists(folder.File("dorlix_u1.1201")));
    }
    // Destruction deletes the snapshots and gives the names free.
    EXPECT_TRUE(snapshotFiles(folder.Path()).isEmpty());
}

TEST(UndoStore, TwoWindowsOfOneUserKeepTheirOwnSnapshots)
{
    TempProgramFolder folder;
    TRS first, second;
    makeSheet(first, "first opened");
    makeSheet(second, "second opened");

    auto a = std::make_unique<TRSUndo>();
    auto b = std::make_unique<TRSUndo>();
    a->SetUser(QStringLiteral("u1"));
    b->SetUser(QStringLiteral("u1"));
    a->Push(&first);
    b->Push(&second);
    change(*a, first, "first A");
    change(*b, second, "second A");
    change(*b, second, "second B");

    EXPECT_EQ(a->BaseName, folder.File("dorlix_u1"));
    EXPECT_EQ(b->BaseName, folder.File("dorlix_u1~2"));
    EXPECT_EQ(storedText(folder.File("dorlix_u1.2")), "first A");
    EXPECT_EQ(storedText(folder.File("dorlix_u1~2.2")), "second A");

    ASSERT_TRUE(a->Undo(&first));
    EXPECT_EQ(textOf(first), "first opened");
    ASSERT_TRUE(b->Undo(&second));
    EXPECT_EQ(textOf(second), "second A");

    // Closing the first window deletes only its own snapshots; a window
    // opened now takes the free plain names.
    a.reset();
    EXPECT_EQ(snapshotFiles(folder.Path()),
              (QStringList{"dorlix_u1~2.1", "dorlix_u1~2.2", "dorlix_u1~2.3", "dorlix_u1~2.lock"}));
    TRSUndo c;
    c.SetUser(QStringLiteral("u1"));
    c.Push(&first);
    EXPECT_EQ(c.BaseName, folder.File("dorlix_u1"));
    ASSERT_TRUE(b->Undo(&second));
    EXPECT_EQ(textOf(second), "second opened");

    // Different users never share names.
    TRSUndo other;
    other.SetUser(QStringLiteral("u2"));
    other.Push(&first);
    EXPECT_EQ(other.BaseName, folder.File("dorlix_u2"));
}

// A window that has not written a snapshot yet (it is opening a file, or is
// closed unused) must not touch the snapshots of a window already running.
TEST(UndoStore, ANewWindowLeavesTheRunningWindowsSnapshotsAlone)
{
    TempProgramFolder folder;
    TRS first;
    makeSheet(first, "first opened");
    TRSUndo a;
    a.SetUser(QStringLiteral("u1"));
    a.Push(&first);
    change(a, first, "first A");
    {
        TRSUndo b;
        b.SetUser(QStringLiteral("u1"));
        b.Clear(); // opening a file clears before the first snapshot
        TRS other;
        EXPECT_FALSE(b.Undo(&other));
    } // closed without an edit
    EXPECT_TRUE(QFileInfo::exists(folder.File("dorlix_u1.1")));
    ASSERT_TRUE(a.Undo(&first));
    EXPECT_EQ(textOf(first), "first opened");
}

TEST(UndoStore, SnapshotsOfWindowsThatNoLongerRunAreRemoved)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");

    // A lock written by a process that has ended, as a crashed window leaves it.
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    auto leaveStaleLock = [&](const QString &path) {
        QLockFile lock(path);
        ASSERT_TRUE(lock.tryLock(0));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray content = f.readAll();
        f.close();
        lock.unlock();
        content = QByteArray::number(deadPid) + content.mid(content.indexOf('\n'));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    auto leaveSnapshot = [&](const char *name) {
        QFile f(folder.File(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    };
    leaveStaleLock(folder.File("dorlix_u1.lock"));
    leaveSnapshot("dorlix_u1.1");
    leaveSnapshot("dorlix_u1.1005");
    leaveStaleLock(folder.File("dorlix_u1~3.lock"));
    leaveSnapshot("dorlix_u1~3.4");
    leaveSnapshot("dorlix_u1~4.2"); // without any lock
    leaveSnapshot("dorlix_u2.1");   // another user's
    // Not names of a snapshot.
    leaveSnapshot("dorlix_u1.txt");
    leaveSnapshot("dorlix_u1~02.1");
    leaveSnapshot("dorlix_u1.007");

    // A window that still runs keeps its snapshots.
    TRSUndo running;
    running.SetUser(QStringLiteral("u1~2"));
    running.Push(&rs);
    ASSERT_EQ(running.BaseName, folder.File("dorlix_u1~2"));

    TRSUndo undo;
    undo.SetUser(QStringLiteral("u1"));
    undo.Push(&rs);
    EXPECT_EQ(undo.BaseName, folder.File("dorlix_u1"));
    EXPECT_EQ(snapshotFiles(folder.Path()),
              (QStringList{"dorlix_u1.007", "dorlix_u1.1", "dorlix_u1.lock", "dorlix_u1.txt",
                           "dorlix_u1~02.1", "dorlix_u1~2.1", "dorlix_u1~2.lock", "dorlix_u2.1"}));
    EXPECT_EQ(storedText(folder.File("dorlix_u1.1")), "opened");
}

TEST(UndoStore, RedoBringsBackWhatUndoTookUntilTheNextChange)
{
    TempProgramFolder folder;
    TRS rs;
    makeSheet(rs, "opened");
    TRSUndo undo;
    undo.SetUser(QStringLiteral("u1"));
    undo.Push(&rs);
    EXPECT_FALSE(undo.CanRedo());
    change(undo, rs, "A");
    change(undo, rs, "B");
    change(undo, rs, "C");
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_FALSE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "C");

    // Three steps back, then forward again one by one.
    ASSERT_TRUE(undo.Undo(&rs));
    ASSERT_TRUE(undo.Undo(&rs));
    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "opened");
    EXPECT_FALSE(undo.CanUndo());
    ASSERT_TRUE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "A");
    EXPECT_TRUE(undo.CanUndo());
    ASSERT_TRUE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "B");
    // Undo and redo alternate without losing a state.
    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "A");
    ASSERT_TRUE(undo.Redo(&rs));
    ASSERT_TRUE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "C");
    EXPECT_FALSE(undo.CanRedo());

    // A change after an undo ends redo, although the old files are still there.
    ASSERT_TRUE(undo.Undo(&rs));
    ASSERT_TRUE(undo.Undo(&rs));
    change(undo, rs, "D");
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_FALSE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "D");
    ASSERT_TRUE(undo.Undo(&rs));
    EXPECT_EQ(textOf(rs), "A");
    ASSERT_TRUE(undo.Redo(&rs));
    EXPECT_EQ(textOf(rs), "D");

    // All snapshots go at the end, also those that were undone.
    undo.Clear();
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_TRUE(
        snapshotFiles(folder.Path()).filter(QRegularExpression(QStringLiteral("\\.\\d+$"))).isEmpty());
}
