#pragma once

namespace notarium {

// Builds the application object and the main window from the command line and runs the program.
int runApplication(int argc, char** argv);

} // namespace notarium
