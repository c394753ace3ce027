#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QMainWindow;

namespace notarium {

class ActionRegistry;
class MenuBuilder;
class Settings;
class TExtMemo;
class TreePane;

// How the main window looks and answers keys, as the settings say: the panes' fonts and colours,
// the memo pane's marks, caret line, edit area, tab width and Tab key, the input method colours,
// the menus' images, the hints, the "Title :" caption and the shortcut keys. apply() runs at start
// and again whenever the settings change (the options dialog and the key customisation call it
// after OK or Apply).
class Appearance : public QObject {
    Q_OBJECT

public:
    // The memo pane's edit area is this much narrower than the pane while it is on.
    static constexpr int kEditAreaInset = 36;

    Appearance(QMainWindow& window, TreePane& tree, QLabel& titleLabel, QLineEdit& title, TExtMemo& memo,
        ActionRegistry& actions, const MenuBuilder& menus);
    ~Appearance() override;

    void apply(const Settings& settings);
    // The tool bars' rows and places as the last exit left them (at start only).
    void restoreToolBars(const Settings& settings);

    bool hintsShown() const { return m_hintsShown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFonts(const Settings& settings);
    void applyColours(const Settings& settings);
    void applyMemoOptions(const Settings& settings);
    void applyImeColours(const Settings& settings);
    void applyMenuIcons(const Settings& settings);
    void applyHints(const Settings& settings);
    void applyShortcuts(const Settings& settings);
    void followMemoWidth();

    QMainWindow& m_window;
    TreePane& m_tree;
    QLabel& m_titleLabel;
    QLineEdit& m_title;
    TExtMemo& m_memo;
    ActionRegistry& m_actions;
    const MenuBuilder& m_menus;
    bool m_hintsShown = true;
};

} // namespace notarium
