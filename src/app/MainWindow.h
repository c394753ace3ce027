#pragma once

#include "app/FileCommands.h"
#include "app/Services.h"
#include "core/document/DocumentObserver.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QSplitter;

namespace notarium {

class ActionRegistry;
class Document;
class DocumentTreeModel;
class HelpWindow;
class IniFile;
class MemoCommands;
class MenuBuilder;
class Node;
class Settings;
class TExtMemo;
class TreeCommands;
class TreePane;

// What the window is started with: the settings (already read) and the services it talks through.
struct MainWindowContext {
    IniFile* ini = nullptr;
    Settings* settings = nullptr;
    Services services;
    // Where the settings file is written at exit; empty: not written (tests).
    QString settingsPath;
};

// The main window: the tree pane, the title band and the memo pane of one document. Commands of
// each subsystem live in their own classes (FileCommands, ...); the window binds the panes to the
// selected node and routes the actions.
class TMainForm1 : public QMainWindow, private FileCommandsHost {
    Q_OBJECT

public:
    explicit TMainForm1(const MainWindowContext& context, QWidget* parent = nullptr);
    ~TMainForm1() override;

    Document& document() { return *m_doc; }
    FileCommands& fileCommands() { return *m_files; }
    TreeCommands& treeCommands() { return *m_treeCommands; }
    MemoCommands& memoCommands() { return *m_memoCommands; }
    ActionRegistry& actions() { return *m_actions; }
    MenuBuilder& menus() { return *m_menus; }
    TreePane* treePane() const { return m_tree; }
    QLineEdit* titleEdit() const { return m_title; }
    TExtMemo* memoPane() const { return m_memo; }
    QLabel* statusPanel(int index) const;

    // Opens the document named on the command line, or starts an untitled one.
    void startWith(const QStringList& arguments);

    // The store step before a selection change, run for the selected node.
    void storeSelectedMemo();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    // FileCommandsHost
    QWidget* dialogParent() override { return this; }
    void storeMemo() override { storeSelectedMemo(); }
    void showDocument(Node* select) override;
    void restorePanes() override;
    void showProgress(quint64 done, quint64 total) override;
    int selectedIndex() override;

    void buildPanes();
    void buildStatusBar();
    void connectCommands();
    void applySettings();
    void applyStoredShortcuts();
    void applyPaneColours();
    void applyImeColours();
    void applyToolBarPositions();
    void writeSettingsAtExit();

    void selectionChanged(Node* previous, Node* current);
    void storeMemoToNode(Node* node);
    void loadNodeToMemo(Node* node);
    void updateCommandStates(Node* node);
    void updateModifiedPanel();
    void updateCaretPanel();
    void titleEdited(const QString& text);

    void goToNode(Node* target);
    void changeFocus();
    void goTitle();
    void toggleTreeMaximized();
    void toggleMemoMaximized();
    void showHelp(bool search);
    void rebuildReopenMenu();
    int helpContextOfFocus() const;

    MainWindowContext m_context;
    Settings& m_settings;
    std::unique_ptr<Document> m_doc;
    DocumentTreeModel* m_model = nullptr;
    ActionRegistry* m_actions = nullptr;
    MenuBuilder* m_menus = nullptr;
    FileCommands* m_files = nullptr;
    TreeCommands* m_treeCommands = nullptr;
    MemoCommands* m_memoCommands = nullptr;
    HelpWindow* m_help = nullptr;

    QSplitter* m_splitter = nullptr;
    TreePane* m_tree = nullptr;
    QWidget* m_rightSide = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_title = nullptr;
    TExtMemo* m_memo = nullptr;
    QList<QLabel*> m_panels;
    QProgressBar* m_progress = nullptr;
    int m_progressPercent = -1;
    int m_treeWidth = 182;
    bool m_loadingNode = false;
    QMetaObject::Connection m_focusWatch;

    // Status panel 1 follows the document's modified flag.
    class ModifiedWatch : public NullDocumentObserver {
    public:
        explicit ModifiedWatch(std::function<void()> changed)
            : m_changed(std::move(changed))
        {
        }
        void modifiedChanged(bool) override { m_changed(); }

    private:
        std::function<void()> m_changed;
    };
    std::unique_ptr<ModifiedWatch> m_modifiedWatch;
};

} // namespace notarium
