#include "bookmarks/TBookmarkForm.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/Services.h"
#include "bookmarks/BookmarkImages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace notarium {

namespace {

constexpr int kTitleWidth = 200;
// A row's image cell: the digit, a gap, the kind image.
constexpr QSize kImageSize(16 + 2 + 16, 16);

} // namespace

TBookmarkForm::TBookmarkForm(QWidget* mainWindow, HelpService& help, PromptService& prompt)
    : QDialog(mainWindow)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("TBookmarkForm"));
    setWindowTitle(QStringLiteral("ブックマーク一覧"));
    setModal(true);
    setSizeGripEnabled(true);

    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("BookListView"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({ QStringLiteral("タイトル"), QStringLiteral("テキスト") });
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);
    m_list->setIconSize(kImageSize);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, kTitleWidth);
    for (int slot = 0; slot < kRows; ++slot)
        m_list->addTopLevelItem(new QTreeWidgetItem);
    for (int slot = 0; slot < kRows; ++slot)
        setRow(slot, false);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    ContextHelp::setHelpContext(m_list, HelpWindow::BookmarkListContext);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmBookList"));
    m_jump = addItem("BookListJump", "選択したブックマークにジャンプ(&J)",
        "選択したブックマークが付いたメモを表示してこのウィンドウを閉じます",
        { QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return) });
    m_add = addItem("BookListAdd", "現在のメモをブックマークに追加(&A)",
        "選択したブックマーク番号に現在表示されているメモを追加します", { QKeySequence(Qt::Key_Insert) });
    m_remove = addItem("BookListDel", "選択したブックマークを削除(&D)", "選択したブックマークを削除します",
        { QKeySequence(Qt::Key_Delete) });
    m_removeAll = addItem("BookListDelAll", "すべてのブックマークを削除(&L)",
        "設定されているすべてのブックマークを削除します", { QKeySequence(Qt::CTRL | Qt::Key_Delete) });
    // Esc closes; F1 is the context help's. Neither is shown in the menu.
    auto* close = new QAction(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("BookListClose"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(close);

    connect(m_jump, &QAction::triggered, this, &TBookmarkForm::jump);
    connect(m_add, &QAction::triggered, this, [this] {
        if (selectedSlot() >= 0)
            emit addRequested(selectedSlot());
    });
    connect(m_remove, &QAction::triggered, this, [this] {
        if (selectedSlot() >= 0)
            emit removeRequested(selectedSlot());
    });
    connect(m_removeAll, &QAction::triggered, this, &TBookmarkForm::removeAllRequested);
    connect(close, &QAction::triggered, this, &QDialog::close);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &TBookmarkForm::updateMenu);
    connect(m_list, &QAbstractItemView::doubleClicked, this,
        [this](const QModelIndex& index) { activateRow(index.row()); });

    new ContextHelp(this, help, HelpWindow::BookmarkListContext);
    setMinimumSize(532, 224);
    resize(532, 225);
}

TBookmarkForm::~TBookmarkForm() = default;

QAction* TBookmarkForm::addItem(
    const char* name, const char* caption, const char* hint, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(QString::fromUtf8(hint));
    action->setToolTip(QString::fromUtf8(hint));
    action->setShortcuts(keys);
    m_menu->addAction(action);
    // The menu is a window of its own; its keys work in the list window through the window.
    addAction(action);
    return action;
}

void TBookmarkForm::setRow(
    int slot, bool filled, const QIcon& kindImage, const QString& title, const QString& text)
{
    QTreeWidgetItem* item = m_list->topLevelItem(slot);
    if (item == nullptr)
        return;
    m_filled[static_cast<std::size_t>(slot)] = filled;
    item->setIcon(0, bookmark_images::sideBySide(bookmark_images::digit(slot), filled ? kindImage : QIcon()));
    item->setText(0, filled ? title : QString());
    item->setText(1, filled ? text : QString());
}

void TBookmarkForm::setAddAllowed(bool allowed)
{
    m_addAllowed = allowed;
}

int TBookmarkForm::selectedSlot() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    return item != nullptr && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
}

void TBookmarkForm::selectSlot(int slot)
{
    if (QTreeWidgetItem* item = m_list->topLevelItem(slot)) {
        m_list->setCurrentItem(item);
        item->setSelected(true);
    }
    updateMenu();
}

void TBookmarkForm::updateMenu()
{
    const int slot = selectedSlot();
    const bool filled = slot >= 0 && isFilled(slot);
    m_jump->setEnabled(filled);
    m_remove->setEnabled(filled);
    m_add->setEnabled(slot >= 0 && !filled && m_addAllowed);
    m_removeAll->setEnabled(std::find(m_filled.begin(), m_filled.end(), true) != m_filled.end());
}

void TBookmarkForm::jump()
{
    const int slot = selectedSlot();
    if (slot < 0 || !isFilled(slot))
        return;
    emit jumpRequested(slot);
    close();
}

void TBookmarkForm::activateRow(int slot)
{
    // Enter and a double click on an empty row have nothing to jump to.
    if (slot < 0 || !isFilled(slot)) {
        m_prompt.beep();
        return;
    }
    selectSlot(slot);
    jump();
}

// ---- The pop-up menu and the list's keys -------------------------------------------------------

QPoint TBookmarkForm::keyboardPopupPosition() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    const QRect row = item != nullptr ? m_list->visualItemRect(item) : QRect();
    if (!row.isValid())
        return m_list->viewport()->mapToGlobal(QPoint(16, 0));
    return m_list->viewport()->mapToGlobal(QPoint(row.left() + 16, row.bottom()));
}

void TBookmarkForm::showPopup(const QPoint& globalPos)
{
    updateMenu();
    m_menu->popup(globalPos);
}

bool TBookmarkForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list && watched != m_list->viewport())
        return QDialog::eventFilter(watched, event);
    // The text column takes what the title column leaves, whatever the window's width.
    if (event->type() == QEvent::Resize && watched == m_list->viewport())
        fitTextColumn();
    if (event->type() == QEvent::ContextMenu) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        showPopup(menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos()
                                                                  : keyboardPopupPosition());
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == m_list) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
            showPopup(keyboardPopupPosition());
            return true;
        }
        // With a filled row selected, Enter is the jump item's key and never reaches the list.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
            activateRow(selectedSlot());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBookmarkForm::fitTextColumn()
{
    m_list->setColumnWidth(1, qMax(40, m_list->viewport()->width() - kTitleWidth));
}

} // namespace notarium
