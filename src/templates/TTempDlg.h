#pragma once

#include "core/templates/TemplateList.h"
#include "templates/TemplateDialogContext.h"

#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QToolButton;
class QTreeWidget;

namespace notarium {

// The template list: the registered templates in store order, with their kinds and files. It
// adds and edits templates through the template editor, deletes them with their files, reorders
// them and inserts the selected one into the document. It only edits its rows; whoever opened it
// writes the store and rebuilds the template menus when changed() says so, however it was closed.
class TTempDlg : public QDialog {
    Q_OBJECT

public:
    TTempDlg(const TemplateDialogContext& context, std::vector<TemplateEntry> entries);
    ~TTempDlg() override;

    // Set by every add, edit, delete and move; false while the rows are as they were opened.
    bool changed() const { return m_list.changed(); }
    // The rows in list order.
    std::vector<TemplateEntry> entries() const { return m_list.entries(); }

    QTreeWidget* templateList() const { return m_view; }
    // The selected row; none when nothing is selected.
    std::optional<std::size_t> selectedRow() const;
    void selectRow(std::size_t row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillRows();
    void updateButtons();
    void moveSelected(bool up);
    void addTemplate();
    void editTemplate();
    void deleteTemplate();
    void insertTemplate();

    TemplateDialogContext m_context;
    TemplateList m_list;
    QTreeWidget* m_view = nullptr;
    QToolButton* m_upButton = nullptr;
    QToolButton* m_downButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_insertButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_helpButton = nullptr;
};

} // namespace notarium
