#include "search/TWinRoller.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace notarium {

namespace {

constexpr int kEdgeHeight = 3; // the bottom edge of a rolled-up window
constexpr int kPadding = 2; // around the button inside the title area

// The roll button: a small push-button face with two triangles, the upper pointing up and the
// lower pointing down; the filled one is the way the window goes on the next press.
class RollerButton : public QAbstractButton {
public:
    explicit RollerButton(QWidget* parent)
        : QAbstractButton(parent)
    {
        setObjectName(QStringLiteral("RollerButton"));
        setFocusPolicy(Qt::NoFocus);
        updateSize();
    }

    void setRolled(bool rolled)
    {
        m_rolled = rolled;
        setToolTip(
            rolled ? QStringLiteral("ウィンドウを元に戻す") : QStringLiteral("ウィンドウを巻き上げる"));
        update();
    }

    void updateSize()
    {
        const int size = qBound(14, style()->pixelMetric(QStyle::PM_TitleBarButtonSize, nullptr, this), 32);
        setFixedSize(size, size);
    }

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
        drawArrows(painter);
    }

    // A double click arrives after the press and release of its first click, which already
    // rolled the window; the second press is swallowed (with its release) so the window does not
    // roll straight back.
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }

    // Releases end here whether or not they clicked: they mean nothing to the title area.
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QAbstractButton::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            event->accept();
    }

private:
    // Drawn in device pixels so the triangles are as crisp at 200 % as at 100 %. unit is one
    // logical pixel in device pixels.
    void drawArrows(QPainter& painter) const
    {
        const qreal ratio = devicePixelRatioF();
        const int unit = std::max(1, int(std::lround(ratio)));
        const int width = int(std::lround(this->width() * ratio));
        const int height = int(std::lround(this->height() * ratio));
        const int rows = std::max(3, (this->height() - 8) / 2) * unit; // rows of one triangle
        const int gap = 3 * unit;
        const int centre = (width - 1) / 2;
        const int top = (height - (2 * rows + gap)) / 2;

        painter.save();
        painter.scale(1 / ratio, 1 / ratio);
        const auto drawBoth = [&](int shift, const QColor& colour) {
            const int x = centre + shift;
            const int y = top + shift;
            drawTriangle(painter, x, y, rows, unit, true, !m_rolled, colour);
            drawTriangle(painter, x, y + rows + gap, rows, unit, false, m_rolled, colour);
        };
        if (isEnabled()) {
            drawBoth(isDown() ? unit : 0, Qt::black);
        } else {
            // Engraved: a white copy one pixel right and down under the shadow-coloured one.
            drawBoth(unit, Qt::white);
            drawBoth(0, palette().color(QPalette::Disabled, QPalette::Dark));
        }
        painter.restore();
    }

    // A triangle of rows device-pixel rows whose apex is at column centre; an open one is outlined
    // with strokes stroke pixels thick.
    static void drawTriangle(QPainter& painter, int centre, int top, int rows, int stroke, bool up,
        bool filled, const QColor& colour)
    {
        for (int row = 0; row < rows; ++row) {
            const int fromApex = up ? row : rows - 1 - row;
            const int y = top + row;
            const int left = centre - fromApex;
            const int span = 2 * fromApex + 1;
            if (filled || fromApex >= rows - stroke || span <= 2 * stroke) {
                painter.fillRect(QRectF(left, y, span, 1), colour);
            } else {
                painter.fillRect(QRectF(left, y, stroke, 1), colour);
                painter.fillRect(QRectF(left + span - stroke, y, stroke, 1), colour);
            }
        }
    }

    bool m_rolled = false;
};

// The strip at the top of the owner: its title in a small muted font at the left, the roll
// button at the right.
class RollerTitleArea : public QWidget {
public:
    explicit RollerTitleArea(QWidget* owner)
        : QWidget(owner)
        , m_owner(owner)
        , m_button(new RollerButton(this))
    {
        setObjectName(QStringLiteral("RollerTitleArea"));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        updateMetrics();
    }

    RollerButton* button() const { return m_button; }

    void setButtonShown(bool shown) { m_button->setVisible(shown); }

    QSize sizeHint() const override { return { m_button->width() + 2 * kPadding, height() }; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QString title = m_owner->windowTitle();
        if (title.isEmpty())
            return;
        QPainter painter(this);
        painter.setFont(captionFont());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        QRect area = rect().adjusted(2 * kPadding, 0, -kPadding, 0);
        if (!m_button->isHidden())
            area.setRight(m_button->x() - 2 * kPadding);
        const QString shown = painter.fontMetrics().elidedText(title, Qt::ElideRight, area.width());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }

    void resizeEvent(QResizeEvent*) override { placeButton(); }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            updateMetrics();
        QWidget::changeEvent(event);
    }

private:
    QFont captionFont() const
    {
        QFont small = font();
        if (small.pointSizeF() > 0)
            small.setPointSizeF(small.pointSizeF() * 0.85);
        else
            small.setPixelSize(std::max(8, small.pixelSize() * 85 / 100));
        return small;
    }

    void updateMetrics()
    {
        m_button->updateSize();
        const int textHeight = QFontMetrics(captionFont()).height();
        setFixedHeight(std::max(m_button->height(), textHeight) + 2 * kPadding);
        placeButton();
    }

    void placeButton()
    {
        m_button->move(width() - kPadding - m_button->width(), (height() - m_button->height()) / 2);
    }

    QWidget* m_owner;
    RollerButton* m_button;
};

// The tidy end of a rolled-up window, laid over whatever controls the cut passes through: a line
// in the button face colour above a raised edge.
class RollerBottomEdge : public QWidget {
public:
    explicit RollerBottomEdge(QWidget* owner)
        : QWidget(owner)
    {
        setObjectName(QStringLiteral("RollerBottomEdge"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QPalette& colours = palette();
        painter.fillRect(0, 0, width(), 1, colours.color(QPalette::Button));
        painter.fillRect(0, 1, width(), 1, colours.color(QPalette::Dark));
        painter.fillRect(0, 2, width(), 1, colours.color(QPalette::Shadow));
    }
};

QWidget* checkedOwner(QWidget* owner)
{
    if (!owner || !owner->isWindow())
        throw std::invalid_argument("Class of the owner is not a TForm!");
    return owner;
}

// Sets both limits without ever passing through a minimum above the maximum.
void setHeightLimits(QWidget* window, int minimum, int maximum)
{
    if (minimum > window->maximumHeight()) {
        window->setMaximumHeight(maximum);
        window->setMinimumHeight(minimum);
    } else {
        window->setMinimumHeight(minimum);
        window->setMaximumHeight(maximum);
    }
}

RollerTitleArea* titleAreaOf(const QPointer<QWidget>& widget)
{
    return static_cast<RollerTitleArea*>(widget.data());
}

} // namespace

TWinRoller::TWinRoller(QWidget* owner)
    : QObject(checkedOwner(owner))
    , m_owner(owner)
{
    auto* titleArea = new RollerTitleArea(owner);
    m_titleArea = titleArea;
    connect(titleArea->button(), &QAbstractButton::clicked, this, [this] { setRoller(!m_rolled); });
    owner->installEventFilter(this);
    refreshTitleArea();
}

TWinRoller::~TWinRoller()
{
    delete m_bottomEdge;
}

void TWinRoller::setEnabled(bool enabled)
{
    m_enabled = enabled;
    refreshTitleArea();
}

void TWinRoller::setRemainHeight(int pixels)
{
    m_remainHeight = std::max(0, pixels);
    if (m_rolled)
        applyRolledHeight();
}

void TWinRoller::setRoller(bool rolled)
{
    if (!m_enabled || !m_visible || rolled == m_rolled)
        return;
    if (rolled)
        rollUp();
    else
        rollDown();
    emit OnRoller(m_rolled);
    refreshTitleArea();
}

void TWinRoller::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    if (!visible && m_rolled) {
        rollDown();
        emit OnRoller(false);
    }
    m_visible = visible;
    refreshTitleArea();
}

int TWinRoller::rolledHeight() const
{
    int titleBottom = 0;
    if (m_titleArea) {
        titleBottom = m_titleArea->height();
        if (m_owner->isAncestorOf(m_titleArea))
            titleBottom = m_titleArea->mapTo(m_owner, QPoint(0, m_titleArea->height())).y();
    }
    return titleBottom + m_remainHeight + kEdgeHeight;
}

bool TWinRoller::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_owner) {
        switch (event->type()) {
        case QEvent::Resize:
            if (m_rolled)
                layOutRolled();
            break;
        case QEvent::WindowTitleChange:
            if (m_titleArea)
                m_titleArea->update();
            break;
        case QEvent::Show: // the window's flags are settled by now
            refreshTitleArea();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TWinRoller::rollUp()
{
    // A window never shown nor sized would get its size only when shown; take it now, so that
    // rolling down later has a height to go back to.
    if (!m_owner->isVisible() && !m_owner->testAttribute(Qt::WA_Resized))
        m_owner->adjustSize();
    QLayout* layout = m_owner->layout();
    if (layout)
        layout->activate();

    m_fullHeight = m_owner->height();
    m_minHeight = m_owner->minimumHeight();
    m_maxHeight = m_owner->maximumHeight();
    if (layout) {
        // Held still while rolled up: the layout would squeeze every control into the few
        // visible pixels and fight the fixed height with its own minimum.
        m_layoutEnabled = layout->isEnabled();
        layout->setEnabled(false);
    }
    m_rolled = true;

    if (!m_bottomEdge)
        m_bottomEdge = new RollerBottomEdge(m_owner);
    applyRolledHeight();
    m_bottomEdge->raise();
    m_bottomEdge->show();
}

void TWinRoller::rollDown()
{
    m_rolled = false;
    if (m_bottomEdge)
        m_bottomEdge->hide();
    setHeightLimits(m_owner, m_minHeight, m_maxHeight);
    QLayout* layout = m_owner->layout();
    if (layout)
        layout->setEnabled(m_layoutEnabled);
    m_owner->resize(m_owner->width(), m_fullHeight);
    if (!layout || !layout->isEnabled() || layout->sizeConstraint() != QLayout::SetDefaultConstraint)
        return;
    // Setting the limits made both minimums the window's own, and a layout leaves a window's own
    // minimum alone from then on. Where the minimum is the layout's, give it back to the layout
    // (a minimum of 0 is nobody's), so it keeps following the controls.
    const QSize layoutMinimum = layout->totalMinimumSize();
    QSize minimum = m_owner->minimumSize();
    if (minimum.width() == layoutMinimum.width())
        minimum.setWidth(0);
    if (minimum.height() == layoutMinimum.height())
        minimum.setHeight(0);
    if (minimum != m_owner->minimumSize()) {
        m_owner->setMinimumSize(minimum);
        layout->invalidate();
        layout->activate();
    }
}

void TWinRoller::applyRolledHeight()
{
    const int height = rolledHeight();
    setHeightLimits(m_owner, height, height);
    m_owner->resize(m_owner->width(), height);
    layOutRolled();
}

// The controls keep the places they have at the full height; only the width follows the window.
void TWinRoller::layOutRolled()
{
    if (QLayout* layout = m_owner->layout()) {
        QRect full = m_owner->contentsRect();
        full.setBottom(full.bottom() + m_fullHeight - m_owner->height());
        layout->setGeometry(full);
    }
    if (m_bottomEdge)
        m_bottomEdge->setGeometry(0, m_owner->height() - kEdgeHeight, m_owner->width(), kEdgeHeight);
}

void TWinRoller::refreshTitleArea()
{
    RollerTitleArea* titleArea = titleAreaOf(m_titleArea);
    if (!titleArea)
        return;
    RollerButton* button = titleArea->button();
    button->setEnabled(m_enabled);
    button->setRolled(m_rolled);
    // A window without a border has no caption to roll up to.
    titleArea->setButtonShown(m_visible && !m_owner->windowFlags().testFlag(Qt::FramelessWindowHint));
    titleArea->update();
}

} // namespace notarium
