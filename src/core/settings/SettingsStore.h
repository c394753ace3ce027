#pragma once

#include "core/settings/IniFile.h"
#include "core/settings/PlatformDefaults.h"
#include "core/settings/Settings.h"

#include <functional>
#include <string>

namespace notarium {

// What became of an update of the settings file. The program's own image takes the change in
// every case; ok says whether the file did too, error why not (the platform's text).
struct SettingsUpdateResult {
    bool ok = true;
    std::string error;
};

// The program's settings: the image read at start-up, and the one way to write the file.
//
// Several windows of the program, the options dialog and a person with a text editor may all
// change the file while a window runs. So nothing writes the image read at start-up back:
// update() reads the file afresh, makes its caller's change on that, and saves it, so every key the
// caller did not touch keeps what is on disk.
class SettingsStore {
public:
    using UpdateResult = SettingsUpdateResult;
    using Change = std::function<void(Settings&)>;

    // An empty path means no file at all: updates change only the program's image.
    SettingsStore(std::string path, PlatformDefaults platform);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const std::string& path() const { return m_path; }

    // The start-up read. A missing file gives the defaults and is no failure; a file that cannot be
    // read gives the defaults, false and the reason.
    bool load(std::string* error = nullptr);

    // The program's image, for reading. A write into it directly changes nothing on disk; its
    // platformDefaults() are the ones update() uses.
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }

    // Reads the file, applies change to it and saves it atomically, creating the file's folder when
    // it is missing; then applies change to the program's image. change is therefore called twice,
    // on two different images, and must do the same to both (set keys, not toggle them).
    //
    // A file that exists but cannot be read is left alone, as saving the change alone would wipe
    // every other key: the update fails with the reason. A save that fails reports the reason. In
    // both cases the program's image takes the change, so the running program does what was asked.
    // A change that leaves the file's content as it was writes nothing.
    UpdateResult update(const Change& change);

private:
    std::string m_path;
    IniFile m_ini;
    Settings m_settings;
};

} // namespace notarium
