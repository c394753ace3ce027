// notarium-cli: the document core without a window, for users' scripts and for tests.
#include "cli/Commands.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Past a file size limit (ulimit -f) a write fails with EFBIG and is reported, not a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    return notarium::cli::run(args, stdout, stderr);
}
