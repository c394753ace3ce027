#pragma once

#include <string>
#include <string_view>

namespace notarium {

// Reads a whole file. Returns false and sets error (the platform's text) when it cannot.
bool readWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Replaces path with bytes safely: the bytes go to a temporary file in the same folder, which is
// flushed and synced, takes the old file's permissions and is then renamed over the old file; the
// folder is synced last. On any failure the old file is untouched, the temporary file is removed
// and error receives the platform's text.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

} // namespace notarium
