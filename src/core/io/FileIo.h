#pragma once

#include <string>
#include <string_view>

namespace notarium {

// Reads a whole file. Returns false and sets error (the reason, see FileErrors.h) when it cannot.
bool readWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Replaces a file safely: the bytes go to an unnamed temporary file in the same folder
// (O_TMPFILE), which is synced, takes the old file's permissions, is linked under a temporary name
// and renamed over the old file; the folder is synced last. A process killed while writing leaves
// nothing behind. Where the file system has no unnamed files, a named temporary file
// (NAME.XXXXXX) is written instead. Until commit() succeeds the old file is untouched; a writer
// that is destroyed without a successful commit removes its temporary file. Saving through a
// symbolic link replaces the file the link points to.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything has failed; error() then tells why.
    bool ok() const { return m_failure == 0; }
    bool write(std::string_view bytes);
    bool commit();
    std::string error() const;

private:
    void fail(int error);
    bool linkUnnamedFile();

    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
    int m_failure = 0;
    bool m_committed = false;
};

// AtomicFileWriter in one call.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);
// Copies from to to through AtomicFileWriter.
bool copyFileAtomically(const std::string& from, const std::string& to, std::string* error = nullptr);

} // namespace notarium
