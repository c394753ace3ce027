#pragma once

#include <QString>

namespace notarium {

// The hold on an open document file, so that another Notarium window, or another user, sees the
// file as in use and offers to open it read-only.
//
// The lock is flock(LOCK_EX | LOCK_NB) on a descriptor of the file kept open while the document
// is open. flock belongs to the open file description, not to the process, so a second open of the
// same file in this process conflicts with ours too: a window's own open document counts as in use,
// exactly as the in-use check expects. The kernel drops the lock when the process ends, however it
// ends. The descriptor is close-on-exec, so programs started from the window (another Notarium,
// the text editor) never inherit the hold.
//
// Only cooperating programs respect the lock; that is all the in-use check needs.
class FileLock {
public:
    enum class Result {
        Locked, // the hold is ours
        InUse, // another open of the file holds it
        CannotOpen, // the file is missing or cannot be read
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    // Takes the hold on path, first letting go of any hold on another file. Taking it again on the
    // file already held is a success that changes nothing.
    Result lock(const QString& path);
    // Lets go of the hold; path() keeps the file's name so relock() can take it again.
    void unlock();
    // Takes the hold on path() again after a save. A save replaces the file by renaming a new one
    // over it, which leaves any old hold on the replaced file; the new file is locked before the old
    // descriptor is closed, so there is no moment in which neither is held.
    Result relock();

    bool isLocked() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    // The system's reason for the last CannotOpen or InUse.
    QString errorString() const { return m_error; }

    // True when the file can be opened for reading and writing and no open of it holds the lock,
    // this process's own included. A missing or unwritable file gives false.
    static bool canOpenForWriting(const QString& path);

private:
    void closeDescriptor();

    int m_fd = -1;
    QString m_path;
    QString m_error;
};

} // namespace notarium
