#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>

#include <array>

class QAction;
class QMenu;
class QTreeWidget;

namespace notarium {

class HelpService;
class PromptService;

// The bookmark list: one row per slot, each with its digit, and for a filled slot the node's kind
// image, title and the beginning of its text. Its pop-up menu (and the same keys) jumps to the
// selected row's bookmark, sets it on the node the main window shows, or removes one or all; the
// window's bookmark commands do the work and fill the rows again.
class TBookmarkForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRows = 10;

    TBookmarkForm(QWidget* mainWindow, HelpService& help, PromptService& prompt);
    ~TBookmarkForm() override;

    // Row slot shows a bookmark, or (filled false) an empty slot.
    void setRow(int slot, bool filled, const QIcon& kindImage = {}, const QString& title = {},
        const QString& text = {});
    bool isFilled(int slot) const { return m_filled[static_cast<std::size_t>(slot)]; }
    // The node the main window shows may be added: a category, memo or result in no slot.
    void setAddAllowed(bool allowed);

    QTreeWidget* list() const { return m_list; }
    QMenu* popupMenu() const { return m_menu; }
    // The selected row's slot, or -1.
    int selectedSlot() const;
    void selectSlot(int slot);
    // The menu's items follow the selected row.
    void updateMenu();

signals:
    void jumpRequested(int slot);
    void addRequested(int slot);
    void removeRequested(int slot);
    void removeAllRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addItem(
        const char* name, const char* caption, const char* hint, const QList<QKeySequence>& keys);
    void jump();
    void activateRow(int slot);
    void showPopup(const QPoint& globalPos);
    QPoint keyboardPopupPosition() const;
    void fitTextColumn();

    PromptService& m_prompt;
    QTreeWidget* m_list = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_jump = nullptr;
    QAction* m_add = nullptr;
    QAction* m_remove = nullptr;
    QAction* m_removeAll = nullptr;
    std::array<bool, kRows> m_filled {};
    bool m_addAllowed = false;
};

} // namespace notarium
