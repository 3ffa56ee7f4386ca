#pragma once
// The undo store: after every change the whole sheet is written as a label
// file into a numbered snapshot in the snapshot folder (beside the program
// file or in the user's state folder, model/settings_places.h), and undo
// reads the previous snapshot back (and redo the next one). Nothing is kept
// in memory.
//
// Snapshot n of the base name /opt/dorlix/dorlix_u1 is /opt/dorlix/dorlix_u1.n.
// Every running store claims its snapshot names with a lock file, so two
// windows of the same user never write into each other's snapshots: the first
// keeps the plain names, later ones add "~2", "~3", ... to them. Snapshots
// left behind by stores that no longer run are deleted when a store claims
// its names.

#include <QString>

#include <cstdint>
#include <memory>

class QLockFile;
class TRS;

class TRSUndo
{
  public:
    TRSUndo();
    ~TRSUndo();
    TRSUndo(const TRSUndo &) = delete;
    TRSUndo &operator=(const TRSUndo &) = delete;

    QString UserSuffix;        // the login name given to SetUser (at most 15 characters)
    QString BaseName;          // path of the snapshot files without extension; empty: no place
    std::int32_t Current = 0;  // number of the newest snapshot
    std::int32_t Previous = 0; // number of the snapshot that Undo loads

    // The login names that reach the store are cut to this length.
    static constexpr int kMaxUserLength = 15;

    void SetUser(const QString &name);
    // Writes a snapshot of the sheet (nothing when there is no snapshot
    // folder, no user is set or there is no sheet).
    void Push(TRS *sheet);
    bool CanUndo() const { return Current > 1; }
    // Reads the previous snapshot into the sheet; false when there is none or
    // it could not be read (then *error holds the reader's message).
    bool Undo(TRS *sheet, QString *error = nullptr);
    // Redo brings back what the last undo took, until the next Push: the
    // snapshots ahead of Current are still on disk, so nothing is kept in
    // memory for it either.
    bool CanRedo() const;
    bool Redo(TRS *sheet, QString *error = nullptr);
    // Deletes the snapshot files and restarts the numbering.
    void Clear();

    // Full path of snapshot n.
    QString SnapshotPath(std::int32_t n) const;

  private:
    void ClaimNames();
    void ReleaseNames();
    void RemoveStaleSnapshots(const QString &folder, const QString &stem) const;

    std::unique_ptr<QLockFile> lock_;
    bool claimTried_ = false;
    std::int32_t highest_ = 0; // highest snapshot number written since the last Clear
    std::int32_t redoTop_ = 0; // newest snapshot that Redo may reach
};

// The path with the extension of its file-name part (from its last dot on)
// replaced by ext; ext is appended when the name has no dot.
QString ChangeFileExt(const QString &path, const QString &ext);
