#pragma once

#include "support/RecordingHelpService.h"
#include "support/RecordingProcessLauncher.h"
#include "support/RecordingPromptService.h"
#include "support/ScriptedFileDialogService.h"

namespace notarium {

// The recorders together, ready to hand to a window under test.
struct TestServices {
    RecordingPromptService prompt;
    ScriptedFileDialogService files;
    RecordingProcessLauncher launcher;
    RecordingHelpService help;

    Services services() { return { &prompt, &files, &launcher, &help }; }
};

} // namespace notarium
