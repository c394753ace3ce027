#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace notarium::cli {

// Exit status: 0 ok, 1 unreadable or malformed input, 2 usage.
enum ExitStatus { ExitOk = 0, ExitBadInput = 1, ExitUsage = 2 };

// Every command takes the arguments after its name and writes to out and err.
using Arguments = std::vector<std::string>;

int run(const Arguments& args, std::FILE* out, std::FILE* err);

// The commands, one file each (DocumentCommands.cpp: check, tree, copy).
int checkCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int treeCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int copyCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int templateCommand(const Arguments& args, std::FILE* out, std::FILE* err); // TemplateCommand.cpp
int exportCommand(const Arguments& args, std::FILE* out, std::FILE* err); // ExportCommand.cpp
int findCommand(const Arguments& args, std::FILE* out, std::FILE* err); // FindCommand.cpp
int replaceCommand(const Arguments& args, std::FILE* out, std::FILE* err); // ReplaceCommand.cpp
int countCommand(const Arguments& args, std::FILE* out, std::FILE* err); // CountCommand.cpp

} // namespace notarium::cli
