#pragma once

#include "app/Services.h"
#include "core/templates/TemplateStore.h"

#include <functional>

class QWidget;

namespace notarium {

class ActionRegistry;
class Settings;
class TExtMemo;

// What the template list and the template editor work with, handed over by the main window.
struct TemplateDialogContext {
    QWidget* mainWindow; // parent, and where the dialogs are centred
    Services services; // prompt, files, help
    const Settings& settings; // TemplateFolder, default titles, SkipClosedTree
    const ActionRegistry& actions; // the main window's keys, copied into the editor's menu
    const TExtMemo& memoPane; // font, IME colours, edit marks and tab width for the editor
    // The main window's selected node is the document node or the paper folder (or there is none).
    bool selectedIsTopLevel;
    // Applies a template to the document; the list's Insert button calls it.
    std::function<void(const TemplateEntry&)> insert;
};

} // namespace notarium
