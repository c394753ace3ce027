#pragma once

#include <functional>

namespace notarium {

// Runs work on a thread of its own while the window's event loop goes on, and returns when the
// work is done. Meanwhile the window paints and answers the window system (a desktop would grey
// out a window that stops answering), while the person's input, the window's close and socket
// notifiers wait until the work is done, and drops from other programs are refused: no command
// can run in the middle. tick runs on the window's thread every tickMs, to show progress. An
// exception thrown by work is thrown again here, on the window's thread.
//
// work must not touch anything the window's thread uses meanwhile: give it data of its own.
void runOffTheWindowThread(const std::function<void()>& work, const std::function<void()>& tick, int tickMs = 25);

} // namespace notarium
