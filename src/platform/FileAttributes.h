#pragma once

class QString;

namespace notarium {

// The read-only attribute of this platform: the file exists and the person cannot write it, or no
// one may (no write permission bit at all). The second half makes a file the owner marked
// read-only (chmod a-w) open read-only even for root, who may write anything.
bool isReadOnlyFile(const QString& path);

} // namespace notarium
