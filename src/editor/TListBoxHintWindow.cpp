#include "editor/TListBoxHintWindow.h"

#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace notarium {

// ---------------------------------------------------------------- the window

TListBoxHintWindow::TListBoxHintWindow(QWidget* parent)
    : QWidget(parent,
          Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("ListBoxHintWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TListBoxHintWindow::activateHint(
    const QPoint& topLeft, const QString& text, const QFont& font, const QPoint& textOffset)
{
    m_text = text;
    m_textOffset = textOffset;
    setFont(font);
    const QFontMetrics metrics(font);
    setGeometry(topLeft.x(), topLeft.y(), metrics.horizontalAdvance(text) + 5, metrics.height() + 2);
    show();
    raise();
    update();
}

void TListBoxHintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font());
    painter.drawText(m_textOffset.x(), m_textOffset.y() + fontMetrics().ascent(), m_text);
}

// ---------------------------------------------------------------- the delegate

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_itemHeight > 0)
        size.setHeight(m_itemHeight);
    return size;
}

// ---------------------------------------------------------------- the hint of a list

LongItemHint::LongItemHint(
    QListView& list, ListItemDelegate& delegate, std::function<void(QStyleOptionViewItem*)> viewOption)
    : QObject(&list)
    , m_list(list)
    , m_delegate(delegate)
    , m_viewOption(std::move(viewOption))
    , m_viewport(list.viewport())
{
    m_viewport->installEventFilter(this);
    m_list.installEventFilter(this);
    m_list.viewport()->setMouseTracking(true);
    connect(m_list.verticalScrollBar(), &QScrollBar::valueChanged, this, &LongItemHint::hide);
}

int LongItemHint::rowAt(int y) const
{
    // The row follows from the height alone: any point of the line is on its item.
    const QModelIndex index = m_list.indexAt(QPoint(1, y));
    return index.isValid() ? index.row() : -1;
}

bool LongItemHint::isShown() const
{
    return m_window != nullptr && m_window->isVisible();
}

bool LongItemHint::showAt(int y)
{
    const QModelIndex index = m_list.indexAt(QPoint(1, y));
    if (!index.isValid()) {
        hide();
        return false;
    }
    QStyleOptionViewItem option;
    m_viewOption(&option);
    m_delegate.initStyleOption(&option, index);
    // The part of the item the list shows: an item may be laid out wider than the list.
    QRect item = m_list.visualRect(index);
    item.setRight(m_list.viewport()->width() - 1);
    option.rect = item;
    QStyle* style = m_list.style();
    const QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &option, &m_list);
    // The style draws the text this far inside its area, on both sides.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, &m_list) + 1;
    const QFontMetrics metrics(m_list.font());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (metrics.horizontalAdvance(text) <= textArea.width() - 2 * margin) {
        hide();
        return false;
    }
    // Laid over the item's line of text (which the list centres in a taller item) so that its
    // text covers the item's text exactly: the window's frame lies one pixel outside the line,
    // where it cuts no glyph (Japanese glyphs fill the whole line height).
    const int textTop = textArea.top() + (textArea.height() - metrics.height()) / 2;
    const QPoint corner(textArea.left() - 1, textTop - 1);
    const QPoint textOffset(textArea.left() + margin - corner.x(), 1);
    if (m_window == nullptr)
        m_window = new TListBoxHintWindow(&m_list);
    m_window->activateHint(m_list.viewport()->mapToGlobal(corner), text, m_list.font(), textOffset);
    m_shownFor = index;
    return true;
}

void LongItemHint::hide()
{
    m_shownFor = QPersistentModelIndex();
    if (m_window != nullptr)
        m_window->hide();
}

bool LongItemHint::eventFilter(QObject* watched, QEvent* event)
{
    // Compared with the pointers kept: while the list is being destroyed it is no list any more,
    // and events still arrive.
    if (watched == m_viewport) {
        switch (event->type()) {
        case QEvent::ToolTip:
            // The hint takes the place of the list's tooltips.
            showAt(static_cast<QHelpEvent*>(event)->pos().y());
            return true;
        case QEvent::MouseMove:
            if (isShown() && rowAt(static_cast<QMouseEvent*>(event)->position().toPoint().y()) != m_shownFor.row())
                hide();
            break;
        case QEvent::Leave:
            // The hint's own window may take the pointer for a moment as it appears; only a
            // pointer that left the list takes the hint away.
            if (!m_viewport->rect().contains(m_viewport->mapFromGlobal(QCursor::pos())))
                hide();
            break;
        case QEvent::Wheel:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            hide();
            break;
        default:
            break;
        }
    } else if (watched == parent()) { // the list
        switch (event->type()) {
        case QEvent::Hide:
        case QEvent::KeyPress:
            hide();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
