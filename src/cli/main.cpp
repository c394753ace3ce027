// notarium-cli: the document core without a window, for users' scripts and for tests.
#include "cli/Commands.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return notarium::cli::run(args, stdout, stderr);
}
