#pragma once

#include "app/HelpWindow.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "settings/OptionPage.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace notarium {

// The options dialog: twelve pages chosen from the page tree on the left, OK, Cancel, Apply and
// Help. It shows the settings as they were when it opened; OK writes every key of its pages and
// Apply the subset that changes the look of the window at once, both through the window's one
// settings writer (so keys another window wrote meanwhile stay), and both then have the window
// apply them (applied).
class TOptionDialog : public QDialog {
    Q_OBJECT

public:
    // The page tree's entries: a position is a page's place in the tree and in the stack.
    enum Page {
        GeneralPage,
        FolderPage,
        FontPage,
        TreePage,
        MemoPage,
        DefaultTitlePage,
        DateTimePage,
        HelperListPage,
        TextExportPage,
        ToolPage,
        ImeColourPage,
        OtherPage,
        PageCount
    };
    static constexpr int kFirstHelpContext = HelpWindow::OptionPagesContext;

    // Called after OK or Apply wrote the settings, for the window to take them.
    using Applied = std::function<void(TOptionDialog&, OptionScope)>;

    // state.host is the window's settings writer.
    TOptionDialog(const Settings& settings, OptionDialogState state, Applied applied, QWidget* parent = nullptr);
    ~TOptionDialog() override;

    OptionPage* page(int position) const;
    int currentPage() const;
    void showPage(int position);
    OptionDialogState& state() { return m_state; }
    // The whole tree is to be expanded (Apply does it at once, without writing the key).
    bool expandAllChecked() const;

    void accept() override; // OK
    void apply();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildPages();
    void moveThroughPages(int step);
    bool write(OptionScope scope);

    IniFile m_ini;
    Settings m_settings; // the image the pages read, taken when the dialog opened
    OptionDialogState m_state;
    Applied m_applied;
    QTreeWidget* m_pageTree = nullptr;
    std::vector<QTreeWidgetItem*> m_pageItems; // in page order
    QStackedWidget* m_stack = nullptr;
    QLabel* m_pageCaption = nullptr;
    QPushButton* m_applyButton = nullptr;
    bool m_shown = false;
};

// Creates the page at position (the dialog's page order).
OptionPage* createOptionPage(int position, OptionDialogState& state);

} // namespace notarium
