#pragma once

#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "core/settings/IniFile.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <string_view>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace notarium {

class HelpService;
class PromptService;
class THotKeyEdit;

// The key customisation lists every item of the main menus and, of their submenus' items, only
// these: the others are made while the program runs and have no key of their own.
inline bool isCustomisableSubmenuItem(std::string_view name)
{
    return name == "TemplateReg" || name == "BookList";
}
inline bool isCustomisableSubmenuItem(const QString& name)
{
    return name == QLatin1String("TemplateReg") || name == QLatin1String("BookList");
}

// The listed commands in the order of the dialog's tree, read from the command table; the dialog
// itself reads the window's menus. Inline, so that the generator of Default.key needs nothing of
// the program but the table.
inline std::vector<const char*> customisableCommands()
{
    std::vector<const char*> names;
    for (const CommandContainer& menu : CommandTable::containers()) {
        if (menu.kind != ContainerKind::MainMenu)
            continue;
        for (const char* item : menu.items) {
            if (item == kSeparator)
                continue;
            names.push_back(item);
            if (const CommandContainer* submenu = CommandTable::container(item))
                for (const char* subItem : submenu->items)
                    if (isCustomisableSubmenuItem(std::string_view(subItem)))
                        names.push_back(subItem);
        }
    }
    return names;
}

// One listed menu item while the dialog is open.
struct CommandRecord {
    QString name; // the item's object name, its key in [ShortCutKeys]
    QString hint; // the item's long hint, shown as its description
    int shortcut = 0; // the shortcut number assigned in the dialog; 0 is none
    bool hasSubmenu = false; // the item opens a submenu and takes no key
    bool changed = false; // assigned or removed while the dialog is open
};

// The key customisation dialog: the main menu as a tree, the key and the description of the
// selected command, and the buttons that assign, remove or restore keys. Nothing is written while
// it is open; after OK, records() tells what the person chose, and after the defaults were
// restored, defaultKeys() holds the section of the default key file.
class TCustomizeForm : public QDialog {
    Q_OBJECT

public:
    enum class Outcome { Cancelled, Saved, DefaultsRestored };
    // The record index of a tree node (-1 for the root and the menus), and its item's name.
    static constexpr int RecordRole = Qt::UserRole;
    static constexpr int NameRole = Qt::UserRole + 1;
    static constexpr int kHelpContext = HelpWindow::KeyCustomizeContext;

    // mainMenus: the menu bar's menus in order; their items' current keys are the records' keys.
    // defaultKeyFile: the default key set that the Default button restores.
    TCustomizeForm(const QList<QMenu*>& mainMenus, bool ctrlAltAllowed, const QString& defaultKeyFile,
        PromptService& prompt, HelpService& help, QWidget* mainWindow);
    ~TCustomizeForm() override;

    Outcome outcome() const { return m_outcome; }
    const std::vector<CommandRecord>& records() const { return m_records; }
    const IniFile::KeyValues& defaultKeys() const { return m_defaultKeys; }

    QTreeWidget* menuTree() const { return m_tree; }
    THotKeyEdit* newHotKey() const { return m_newKey; }
    // The node of the record named name; null when it is not listed.
    QTreeWidgetItem* itemFor(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTree(const QList<QMenu*>& mainMenus);
    QTreeWidgetItem* addCommand(QTreeWidgetItem* parent, QAction* item);
    CommandRecord* recordOf(const QTreeWidgetItem* item);
    void selectionChanged(QTreeWidgetItem* current);
    void showRecord(const QTreeWidgetItem* item);
    void defineButtonClick();
    void removeButtonClick();
    void okButtonClick();
    void defaultButtonClick();
    void refuse();

    PromptService& m_prompt;
    QString m_defaultKeyFile;
    QWidget* m_mainWindow;
    std::vector<CommandRecord> m_records;
    IniFile::KeyValues m_defaultKeys;
    Outcome m_outcome = Outcome::Cancelled;
    bool m_placed = false;

    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_currentKey = nullptr;
    QLabel* m_newKeyLabel = nullptr;
    THotKeyEdit* m_newKey = nullptr;
    QPushButton* m_define = nullptr;
    QPushButton* m_remove = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_info = nullptr;
};

} // namespace notarium
