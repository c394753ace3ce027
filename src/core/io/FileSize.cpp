#include "core/io/FileSize.h"

#include <sys/stat.h>

namespace notarium {

bool isTooLargeToRead(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > kLargestReadableFile;
}

} // namespace notarium
