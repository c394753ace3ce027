#pragma once

#include <string>

namespace notarium {

// Why a file could not be read or written, as the file functions report it (see FileIo.h): the
// program's words for the failures a person meets (a full disk, a file size limit, no
// permission), followed by the platform's own text in parentheses; for any other error number
// the platform's text alone.
std::string fileErrorText(int error);

} // namespace notarium
