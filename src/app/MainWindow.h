#pragma once

#include "app/ActionState.h"
#include "app/CommandSet.h"
#include "app/Services.h"
#include "app/WindowContext.h"
#include "editor/ImeLineEdit.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QSplitter;

namespace notarium {

class ActionRegistry;
class Appearance;
class CommandSet;
class Document;
class DocumentTreeModel;
class FileCommands;
class RecoveryCommands;
class InputMethods;
class MemoBinding;
class MemoCommands;
class MenuBuilder;
class ModifiedPanelWatch;
class Node;
class Settings;
class SettingsStore;
class StatusPanels;
class TExtMemo;
class TreeCommands;
class TreePane;
class ViewCommands;

// What the window is started with: the settings (already read, and the one way to write them),
// the services it talks through and where the program's other files live.
struct MainWindowContext {
    SettingsStore* settings = nullptr;
    Services services;
    // The folder of the program's own files beside the settings (Template.ini, HelpList.dat).
    QString configFolder;
    // The folder of the external tools' work files (Temp).
    QString tempFolder;
    // The folder of the program's executables (the tray loader among them); empty for the folder
    // of the running one.
    QString programFolder;
    // Where the window keeps the recovery copy of its unsaved document; empty: it keeps none.
    QString recoveryFolder;
};

// The main window: the tree pane, the title band and the memo pane of one document. It builds
// the panes, hosts the command sets of the subsystems, runs the one enabling pass and takes the
// window's own events; everything else lives in the sets and the classes of the window context.
class TMainForm1 : public QMainWindow, private WindowHost {
    Q_OBJECT

public:
    explicit TMainForm1(const MainWindowContext& context, QWidget* parent = nullptr);
    ~TMainForm1() override;

    Document& document() { return *m_doc; }
    ActionRegistry& actions() { return *m_actions; }
    MenuBuilder& menus() { return *m_menus; }
    StatusPanels& status() { return *m_status; }
    MemoBinding& memoBinding() { return *m_binding; }
    Appearance& appearance() { return *m_appearance; }
    FileCommands& fileCommands() { return *m_files; }
    RecoveryCommands& recovery() { return *m_recovery; }
    TreeCommands& treeCommands() { return *m_treeCommands; }
    MemoCommands& memoCommands() { return *m_memoCommands; }
    ViewCommands& viewCommands() { return *m_view; }
    InputMethods& inputMethods() { return *m_inputMethods; }
    TreePane* treePane() const { return m_tree; }
    ImeLineEdit* titleEdit() const { return m_title; }
    TExtMemo* memoPane() const { return m_memo; }
    const WindowContext& context() const { return *m_windowContext; }

    // Adds a subsystem's commands to the window: they are connected at once and take part in
    // every enabling pass from then on. The window keeps the set.
    void registerCommands(CommandSet* commands);

    // Opens the document named on the command line, or starts an untitled one.
    void startWith(const QStringList& arguments);

    // The state the enabling pass hands to every command set, for node (the selected node
    // unless another is about to be selected).
    ActionState actionState(const Node* node) const;
    ActionState actionState() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    // WindowHost
    void updateActions() override;
    void restorePanes() override;
    bool updateSettings(const std::function<void(Settings&)>& change) override;

    void buildPanes();
    void connectPanes();
    void updateActionsFor(const Node* node);
    void preparePopup(Popup popup, Node* node);
    void readClipboard();
    void writeSettingsAtExit();

    MainWindowContext m_startContext;
    Settings& m_settings;
    std::unique_ptr<Document> m_doc;
    DocumentTreeModel* m_model = nullptr;
    ActionRegistry* m_actions = nullptr;
    MenuBuilder* m_menus = nullptr;
    StatusPanels* m_status = nullptr;
    MemoBinding* m_binding = nullptr;
    Appearance* m_appearance = nullptr;
    std::unique_ptr<InputMethods> m_inputMethods;
    std::unique_ptr<WindowContext> m_windowContext;
    std::vector<CommandSet*> m_sets;
    FileCommands* m_files = nullptr;
    RecoveryCommands* m_recovery = nullptr;
    TreeCommands* m_treeCommands = nullptr;
    MemoCommands* m_memoCommands = nullptr;
    ViewCommands* m_view = nullptr;

    QSplitter* m_splitter = nullptr;
    TreePane* m_tree = nullptr;
    QWidget* m_rightSide = nullptr;
    QLabel* m_titleLabel = nullptr;
    ImeLineEdit* m_title = nullptr;
    TExtMemo* m_memo = nullptr;

    EditBox m_box = EditBox::None;
    bool m_clipboardHasText = false;
    bool m_clipboardHasSubtree = false;
    QMetaObject::Connection m_focusWatch;
    std::unique_ptr<ModifiedPanelWatch> m_modifiedWatch;
};

} // namespace notarium
