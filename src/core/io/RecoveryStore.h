#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

// The recovery copies of unsaved documents, in one folder of their own.
//
// Each copy is two files: NAME.nmd, the document in the data file format, replaced whole at each
// write, and NAME.info, its record, which names the document the copy belongs to ("" for an
// untitled one). The window that writes a copy holds its record locked (flock) for as long as it
// lives, so a copy whose record nobody holds was left by a process that is gone: a crash, a kill,
// a lost session. NAME is a hash of the document's path, or "untitled-PID" for an untitled
// document; a copy kept from an earlier session is never written over, the newcomer takes
// NAME-PID (and a number) instead.
class RecoveryCopy {
public:
    RecoveryCopy() = default;
    ~RecoveryCopy();
    RecoveryCopy(RecoveryCopy&& other) noexcept;
    RecoveryCopy& operator=(RecoveryCopy&& other) noexcept;
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Takes a fresh copy for the document at documentPath (absolute; "" when untitled) in folder,
    // which is created (private to the user) when missing. An unclaimed copy (isClaimed() false)
    // comes back when the folder cannot be written; error then says why.
    static RecoveryCopy claim(const std::string& folder, const std::string& documentPath, int processId,
        std::string* error = nullptr);

    bool isClaimed() const { return m_record >= 0; }
    const std::string& documentPath() const { return m_documentPath; }
    std::string copyPath() const { return m_folder + '/' + m_name + ".nmd"; }
    std::string recordPath() const { return m_folder + '/' + m_name + ".info"; }
    // When the copy was last written (0 when it has not been).
    std::time_t writtenAt() const;

    // Replaces the copy with bytes, atomically (the old copy stays until the new one is whole).
    // Safe from another thread as long as this object is neither moved nor let go meanwhile.
    bool write(std::string_view bytes, std::string* error = nullptr) const;
    // The same with the bytes in pieces, written one after the other.
    bool write(const std::vector<std::string>& pieces, std::string* error = nullptr) const;
    // Removes the copy and its record and lets go of them.
    void discard();
    // Lets go of the copy and keeps it, to be offered again later.
    void release();

private:
    friend std::vector<RecoveryCopy> abandonedRecoveryCopies(const std::string& folder);

    int m_record = -1;
    std::string m_folder;
    std::string m_name;
    std::string m_documentPath;
};

// The copies in folder that their writer left behind (no live process holds them), newest first,
// each now held by the caller so that no other window offers it at the same time. Records whose
// copy was never written are removed on the way.
std::vector<RecoveryCopy> abandonedRecoveryCopies(const std::string& folder);

// The record file's text for a document path, and the path read back from it (false for a file
// that is not a record).
std::string recoveryRecordText(std::string_view documentPath);
bool parseRecoveryRecord(std::string_view bytes, std::string& documentPath);

// The part of a copy's name that stands for the document: 16 hexadecimal digits of a 64-bit
// FNV-1a hash of the path, or "untitled-PID".
std::string recoveryName(const std::string& documentPath, int processId);

} // namespace notarium
