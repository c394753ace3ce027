#pragma once

#include "core/datafile/Messages.h"
#include "core/io/FileSize.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notarium {

class Document;
class Node;

inline constexpr std::string_view kDataFileMagic = "Notarium Data File";
inline constexpr std::string_view kDataFileVersion = "Version 1.10";

// Progress of a long read or write: done out of total (bytes when reading, pages when writing).
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;

enum class ReadStatus {
    Ok,
    CannotOpen, // the file could not be opened or read
    Empty, // the file holds no bytes
    NotDataFile, // the first line is not the magic
    Malformed, // a number that does not convert, a missing "begin{{", a tree of the wrong shape
    TooLarge, // the file is longer than the format's 32-bit positions can address
};

// The longest data file the format can address: its positions are signed 32-bit numbers.
inline constexpr long long kLargestDataFile = kLargestReadableFile;

struct ReadOptions {
    // Restore the bookmark slots from the bookmark record (the SaveBookmark setting).
    bool restoreBookmarks = true;
    // After a good read, copy the file as read into backupFolder with the extension ".~nm"
    // (the BackupFile and BackupFolder settings).
    bool backup = false;
    std::string backupFolder;
    ProgressCallback progress;
    // readDataFile streams the file through a buffer of this many bytes (it grows for longer
    // lines); small sizes let tests put every chunk boundary under test.
    std::size_t bufferSize = 1 << 20;
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    bool oldFormat = false;
    // The absolute index of the node that was current when the file was written (0 when the
    // record is missing or names no node of the tree).
    int savedCurrentIndex = 0;
    // The message the window shows for a failed read (empty text when status is Ok).
    Message message;
    // A backup copy was asked for and could not be written (the read itself is fine).
    bool backupFailed = false;

    bool ok() const { return status == ReadStatus::Ok; }
};

// Parses a whole data file image into doc, which the caller has emptied. On failure the nodes
// built so far stay in doc (the caller replaces the document). The document's old-format flag and
// saved current index are set; the bookmark table when the options allow.
ReadResult parseDataFile(std::string_view bytes, Document& doc, const ReadOptions& options = {});
// Reads the file at path (see parseDataFile).
ReadResult readDataFile(const std::string& path, Document& doc, const ReadOptions& options = {});

struct WriteResult {
    bool ok = true;
    // For a failed write: the message to show and the platform's error text.
    Message message;
    std::string errorText;
    // Titles of the nodes whose text the format cannot hold as it is, and which were written
    // changed: a body line beginning with "}}end" gets one leading blank (else the reader would end
    // the body there), a 1Ah byte is left out (else the reader would end the file there), and a
    // line break inside a title becomes a blank. The window tells the user.
    std::vector<std::string> changedTitles;
};

// The bytes of the data file for doc; currentIndex is the absolute index of the selected node.
// changedTitles receives the titles described in WriteResult.
std::string serializeDataFile(const Document& doc, int currentIndex,
    std::vector<std::string>* changedTitles = nullptr, const ProgressCallback& progress = {});
// Writes doc to path through a temporary file in the same folder that replaces the old file only
// once it is completely on disk; on any failure the old file is left as it was. After a good write
// the Modify flag of every user node is cleared (the document's modified flag is the caller's).
// A document whose file would be longer than largest bytes (the reader's limit) is not written:
// the result then carries messages::TooLargeToSave and the old file is kept.
WriteResult writeDataFile(const std::string& path, Document& doc, int currentIndex, const ProgressCallback& progress = {},
    std::uint64_t largest = kLargestDataFile);

// The bytes of the data file for doc, written in steps, for a caller that must not keep the
// program busy for the whole document (the recovery copy, made between keystrokes). header()
// followed by the pages of every step are the bytes of serializeDataFile with current's index.
// The writer only reads the document, and never through its index (which a read could rebuild
// under a command that is walking it). The tree must stay as it is from the first step to the
// last: a caller that sees it change starts a new writer.
class DataFileStepWriter {
public:
    DataFileStepWriter(const Document& doc, const Node* current);
    // Appends the next pages to bytes, about budget bytes of them (at least one page), and tells
    // whether every page has been written.
    bool writeSome(std::string& bytes, std::size_t budget);
    // Once every page is written: the lines that open the file, which name the positions of the
    // current node and of the bookmarks.
    std::string header() const;
    // The bytes of the pages so far.
    std::uint64_t written() const { return m_written; }

private:
    const Document& m_doc;
    const Node* m_current;
    const Node* m_node; // the next page, or null at the end
    int m_level = 0;
    int m_index = 0;
    int m_currentIndex = 0;
    std::array<int, 10> m_bookmarkIndexes {};
    std::uint64_t m_written = 0;
};

// What opening a file does with a successful read: the document node's image is forced to 4, the
// two top-level nodes are expanded, the stored expanded states are applied (when the file is not
// old format and restoreTreeState is on), and the node to select is returned: the saved current
// node when the file is not old format and restoreCurrentNode is on, else the node at index 1.
Node* applyOpenRules(Document& doc, const ReadResult& result, bool restoreTreeState, bool restoreCurrentNode);

// The backup copy's path: folder, the file's name with its extension replaced by ".~nm".
std::string backupPathFor(const std::string& path, const std::string& folder);

} // namespace notarium
