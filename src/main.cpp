// Notarium: an outline note pad.
#include "app/Application.h"

#include <csignal>

int main(int argc, char** argv)
{
    // Past a file size limit (ulimit -f) a write fails with EFBIG and the save says so; the signal's
    // default action would end the program in the middle of the save.
    std::signal(SIGXFSZ, SIG_IGN);
    return notarium::runApplication(argc, argv);
}
