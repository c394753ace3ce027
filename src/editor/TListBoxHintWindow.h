#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>

class QListView;

namespace notarium {

// The small window laid over a list item too wide for its list, showing the item's whole text in
// the list's font. It sizes itself to the text and takes no input: the mouse goes on acting on
// the list below it.
class TListBoxHintWindow : public QWidget {
    Q_OBJECT

public:
    explicit TListBoxHintWindow(QWidget* parent = nullptr);

    // Shows text in font with the window's top left corner at topLeft (screen coordinates); the
    // window is the text's width + 5 by its height + 2 pixels, and the text is drawn textOffset
    // from the corner.
    void activateHint(const QPoint& topLeft, const QString& text, const QFont& font, const QPoint& textOffset);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QPoint m_textOffset;
};

// The item delegate of the Enter-moves-on lists: every item one fixed height when one is set, and
// the items' style options for the long-item hint.
class ListItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 0: each item as high as the style makes it.
    void setItemHeight(int pixels) { m_itemHeight = pixels; }
    int itemHeight() const { return m_itemHeight; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    using QStyledItemDelegate::initStyleOption;

private:
    int m_itemHeight = 0;
};

// The long-item hint of a list: when the mouse rests on an item whose text does not fit the list,
// a TListBoxHintWindow shows the whole text over the item until the mouse leaves the item (or
// clicks, scrolls, or a key is pressed). Items that fit show no hint, and the list shows no other
// tooltip.
class LongItemHint : public QObject {
    Q_OBJECT

public:
    // viewOption fills the list's own style option for its items
    // (QAbstractItemView::initViewItemOption, which only the list can call).
    LongItemHint(QListView& list, ListItemDelegate& delegate,
        std::function<void(QStyleOptionViewItem*)> viewOption);

    // Shows the hint for the item at the vertical position y of the list's viewport; false, and
    // no hint, where there is no item or the item's text fits.
    bool showAt(int y);
    void hide();
    // The hint window, once one has been shown.
    TListBoxHintWindow* window() const { return m_window; }
    bool isShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rowAt(int y) const;

    QListView& m_list;
    ListItemDelegate& m_delegate;
    std::function<void(QStyleOptionViewItem*)> m_viewOption;
    QWidget* m_viewport;
    QPointer<TListBoxHintWindow> m_window;
    QPersistentModelIndex m_shownFor;
};

} // namespace notarium
