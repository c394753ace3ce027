#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace notarium::cli {

// Exit status: 0 ok, 1 unreadable or malformed input, 2 usage.
enum ExitStatus { ExitOk = 0, ExitBadInput = 1, ExitUsage = 2 };

int run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace notarium::cli
