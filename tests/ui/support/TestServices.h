#pragma once

#include "support/RecordingProcessLauncher.h"
#include "support/RecordingPromptService.h"
#include "support/ScriptedFileDialogService.h"

namespace notarium {

// The three recorders together, ready to hand to a window under test.
struct TestServices {
    RecordingPromptService prompt;
    ScriptedFileDialogService files;
    RecordingProcessLauncher launcher;

    Services services() { return { &prompt, &files, &launcher }; }
};

} // namespace notarium
