#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

// A save killed on a file system without unnamed temporary files leaves its temporary file behind,
// named like the target with a dot and six letters or digits ("plan.nmd.Ab3xYz").

// Whether candidate is such a name for the file named target (both without folder).
bool isTemporaryNameOf(std::string_view candidate, std::string_view target);

// The leftover temporary files of target (a path) in its folder that were last changed before
// notOlderThan, as paths. Nothing when the folder cannot be read.
std::vector<std::string> leftoverTemporaries(const std::string& target, std::time_t notOlderThan);

} // namespace notarium
