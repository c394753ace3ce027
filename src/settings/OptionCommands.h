#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "platform/LoaderControl.h"
#include "settings/OptionPage.h"

#include <QObject>

namespace notarium {

class Appearance;
class FileCommands;
class HelperListCommands;
class InputMethods;
class TExtMemo;
class TOptionDialog;
class TreePane;

// The options dialog of the window (Option1Click): it opens on the window's settings with a copy
// of the memo pane's input method colours, and what OK or Apply wrote is applied to the window at
// once.
class OptionCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    struct Targets {
        Appearance& appearance;
        TreePane& tree;
        TExtMemo& memo;
        FileCommands& files;
        HelperListCommands& helperList;
        InputMethods& inputMethods;
    };

    OptionCommands(const WindowContext& context, const Targets& targets, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    // Option1Click.
    void showOptions();

private:
    void applied(TOptionDialog& dialog, OptionScope scope);
    void expandWholeTree();
    void applyResidentMode(const OptionDialogState& state);
    LoaderControl loader() const;

    WindowContext m_context;
    Targets m_targets;
};

} // namespace notarium
