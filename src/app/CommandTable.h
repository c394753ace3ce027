#pragma once

#include <Qt>
#include <span>
#include <string_view>

namespace notarium {

// One menu item or tool bar button of the main window. Texts are UTF-8; an empty text means "none".
struct CommandRow {
    const char* name; // object name of the action, also its key in [ShortCutKeys]
    const char* caption; // menu text with its "&" accelerator; tool bar buttons have none
    const char* shortcut; // default key in QKeySequence::PortableText form
    const char* toolTip; // short hint
    const char* statusTip; // long hint, shown in status panel 0 and in the key customisation
    const char* icon; // base name of an SVG under :/icons
    const char* event; // handler name; items that share a handler raise the same command
    bool enabled = true; // state at window creation
    bool checkable = false;
    bool checked = false;
    // Buttons of one named group behave like one set of radio buttons; with allowAllUp every
    // button of the group may also be up at the same time.
    const char* group = "";
    bool allowAllUp = false;
    bool repeating = false; // auto-repeat while held (page buttons)
    const char* dropDown = ""; // pop-up menu of a tool button, shown from its arrow
    int tag = -1; // bookmark digit of the bookmark items, tool bar number of the tool bar toggles
};

enum class ContainerKind {
    MainMenu, // a menu of the menu bar, in menu bar order
    Submenu, // a menu opened from an item of another menu
    Popup, // a context or drop-down menu
    ToolBar,
};

// A menu or a tool bar and what it holds, in order. An item is the name of a CommandRow, the name
// of a submenu container, or "-" for a separator.
struct CommandContainer {
    const char* name;
    ContainerKind kind;
    const char* caption; // menu title, or tool bar window title
    const char* statusTip; // long hint of a submenu's item
    std::span<const char* const> items;
    Qt::ToolBarArea area = Qt::TopToolBarArea;
    bool visible = true; // tool bars only
    const char* toggleEvent = ""; // tool bars only: the event of the items that show and hide it
};

inline constexpr std::string_view kSeparator = "-";

// The main window's command table: every action, menu and tool bar, with the default keys.
class CommandTable {
public:
    static std::span<const CommandRow> rows();
    static std::span<const CommandContainer> containers();
    static const CommandRow* row(std::string_view name);
    static const CommandContainer* container(std::string_view name);
};

} // namespace notarium
