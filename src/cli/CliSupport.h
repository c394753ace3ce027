#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace notarium {
class Document;
struct ReadResult;
} // namespace notarium

namespace notarium::cli {

// Prints "path: message" on one line; the program's messages use CR LF between their lines.
void printMessage(std::FILE* err, const std::string& path, std::string_view text);
// A node index as typed: decimal digits only, 0 or more.
std::optional<long long> parseIndex(std::string_view text);
// Reads a data file; on failure prints the program's message and returns false.
bool loadDocument(const std::string& path, Document& doc, ReadResult& result, std::FILE* err);
// Writes a document read with result to path atomically, the nodes keeping the expanded states
// the file stored. Prints the message of a failed write and each title the format made change;
// false when the write failed.
bool writeDocument(const std::string& path, Document& doc, const ReadResult& result, std::FILE* err);

} // namespace notarium::cli
