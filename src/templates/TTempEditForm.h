#pragma once

#include "app/SubtreeClipboard.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "core/templates/TemplateList.h"
#include "templates/TemplateDialogContext.h"

#include <QDialog>

#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QToolButton;

namespace notarium {

class DocumentTreeModel;
class ImeLineEdit;
class TExtMemo;
class TreePane;

// The template editor: one template's name, file and content. A text-only template is the text
// of TempEdit; a tree template is the outline of TempTree, under its fixed root "Template", whose
// pages keep their bodies while TempEdit shows the selected one. OK writes the template file and
// closes only when the file was written.
class TTempEditForm : public QDialog {
    Q_OBJECT

public:
    // list holds the registered templates, for the name check on OK; editing is the row this
    // editor edits (none for a new template).
    TTempEditForm(const TemplateDialogContext& context, const TemplateList& list,
        std::optional<std::size_t> editing, QWidget* parent);
    ~TTempEditForm() override;

    // Fills the editor with an existing template read from its file; its kind can no longer be
    // changed. A file that cannot be read is reported and gives false: the editor is not to be
    // shown then.
    bool load(const TemplateEntry& entry);
    // The template as the editor holds it: the name without blanks around it, the kind of
    // cbIncludeTree and the file name.
    TemplateEntry entry() const;

    Document& templateDocument() { return m_doc; }
    TreePane* tempTree() const { return m_tree; }
    TExtMemo* tempEdit() const { return m_edit; }
    QMenu* popupMenu() const { return m_menu; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addMenuItem(const char* name, const char* caption, const char* hint, const char* mainAction,
        void (TTempEditForm::*command)(), bool shown = true);
    void buildMenu();
    void applyIncludeTree();
    void pageChanged(Node* previous, Node* current);
    void storePage(Node* page);
    void showPage(Node* node);
    void updateMenu();
    void updateOkButton();
    Node* target() const;
    void beep();
    void tell(const Message& message, const QString& text = QString());

    void newPage(int kind, bool asChild);
    void newCategory() { newPage(KindCategory, false); }
    void newChildCategory() { newPage(KindCategory, true); }
    void newMemo() { newPage(KindMemo, false); }
    void newChildMemo() { newPage(KindMemo, true); }
    void newResult() { newPage(KindResult, true); }
    void paste();
    void exchangeCategoryMemo();
    void exchangeMemoResult();
    void deletePage();
    void previousPage();
    void nextPage();
    void moveUp();
    void moveDown();
    void levelUp();
    void levelDown();
    void changeShape(bool (TreeOperations::*operation)(Node*));
    void changeShape(const std::function<bool(Node*)>& operation);

    void chooseFile();
    void save();

    TemplateDialogContext m_context;
    const TemplateList& m_list;
    std::optional<std::size_t> m_editing;
    Document m_doc;
    TreeOperations m_operations;
    SubtreeClipboard m_clipboard;
    // The text of a text-only template while TempEdit shows the pages of the tree.
    std::string m_plainText;
    bool m_showingPages = false;
    bool m_prepared = false;

    QCheckBox* m_includeTree = nullptr;
    TreePane* m_tree = nullptr;
    DocumentTreeModel* m_model = nullptr;
    TExtMemo* m_edit = nullptr;
    ImeLineEdit* m_name = nullptr;
    ImeLineEdit* m_file = nullptr;
    QToolButton* m_fileButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QMenu* m_menu = nullptr;
    // The items that need the box on, and those that need a page as well.
    QList<QAction*> m_treeItems;
    QList<QAction*> m_pageItems;
    QAction* m_pasteItem = nullptr;
};

} // namespace notarium
