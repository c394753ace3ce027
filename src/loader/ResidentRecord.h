#pragma once

#include <QString>

#include <string>

namespace notarium {

// The loader's claim on one settings file: the lock that makes it the only loader of that file,
// and [Notarium] Loaded and Handle, through which the program sees that it runs.
//
// Both keys are written with the settings file's one read-modify-write update, so every key the
// program wrote in the meantime stays. On release they are cleared only while Handle still holds
// this loader's id: a record that another loader has written since (one of a second login, whose
// runtime folder and so whose lock differ) stays that loader's.
class ResidentRecord {
public:
    enum class Claim {
        Claimed,
        OtherRuns, // another loader serves this settings file
        Failed, // the lock file cannot be made
    };

    ResidentRecord(QString settingsFile, QString lockFile);
    ~ResidentRecord();
    ResidentRecord(const ResidentRecord&) = delete;
    ResidentRecord& operator=(const ResidentRecord&) = delete;

    // Takes the lock and looks at the record another loader may have left. Nothing is written yet:
    // the loader first gets ready to be asked to end, then publishes.
    Claim claim(QString* error = nullptr);
    // Writes Loaded and Handle. Once they are in the file the program may send the close request
    // or a signal at any moment. A settings file that cannot be written is reported in error but
    // is no failure: the lock still keeps a second loader out.
    bool publish(QString* error = nullptr);
    // Clears Loaded and Handle where Handle is still ours and lets go of the lock. Safe to call
    // again, and from an exit handler: it uses no Qt.
    void release();

    bool isClaimed() const { return m_lockFd >= 0; }
    qint64 pid() const { return m_pid; }

private:
    std::string m_settingsFile;
    std::string m_lockFile;
    qint64 m_pid;
    int m_lockFd = -1;
    bool m_published = false;
};

} // namespace notarium
