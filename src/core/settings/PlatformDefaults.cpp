#include "core/settings/PlatformDefaults.h"

#include <cstdlib>

namespace notarium {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

PlatformDefaults PlatformDefaults::fromEnvironment()
{
    PlatformDefaults defaults;
    std::string folder = environment("XDG_DOCUMENTS_DIR");
    if (folder.empty())
        folder = environment("HOME");
    // Stored without a trailing separator, as the folder settings always are.
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (!folder.empty())
        defaults.documentsFolder = folder;
    return defaults;
}

void PlatformDefaults::useScreen(int screenHeight, int workLeft, int workTop, int workWidth, int workHeight)
{
    if (screenHeight > 600) {
        windowX = 80;
        windowY = 60;
        windowWidth = 800;
        windowHeight = 600;
        return;
    }
    windowX = workLeft;
    windowY = workTop;
    windowWidth = workWidth;
    windowHeight = workHeight;
}

} // namespace notarium
