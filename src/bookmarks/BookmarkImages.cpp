#include "bookmarks/BookmarkImages.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace notarium::bookmark_images {

namespace {

// A calm blue that reads on white and on the selection colour alike.
const QColor kFill(0x3a, 0x6e, 0xa8);
const QColor kDisabledFill(0xa0, 0xa0, 0xa0);

// Rounds a coordinate to the device pixel grid of the painter, so that the digit's stems fall on
// whole pixels at 100 % and at 200 %.
qreal snapped(qreal value, qreal ratio)
{
    return std::round(value * ratio) / ratio;
}

// Paints into rectangles the icon is asked for; pixmaps are painted at the size asked, which for a
// high-density screen is the device size.
class PaintedEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }
};

class DigitEngine : public PaintedEngine {
public:
    explicit DigitEngine(int digit)
        : m_digit(digit)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        const qreal side = qMin(rect.width(), rect.height());
        const qreal inset = side / 16.0;
        const QRectF square(rect.left() + (rect.width() - side) / 2.0 + inset,
            rect.top() + (rect.height() - side) / 2.0 + inset, side - 2 * inset, side - 2 * inset);

        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(mode == QIcon::Disabled ? kDisabledFill : kFill);
        painter->drawRoundedRect(square, side * 3.0 / 16.0, side * 3.0 / 16.0);

        QFont font = QGuiApplication::font();
        font.setBold(true);
        font.setPixelSize(qMax(1, qRound(side * 0.72)));
        QPainterPath digit;
        digit.addText(0, 0, font, QString::number(m_digit));
        const QRectF bounds = digit.boundingRect();
        const QPointF offset(snapped(square.center().x() - bounds.center().x(), ratio),
            snapped(square.center().y() - bounds.center().y(), ratio));
        painter->setBrush(Qt::white);
        painter->drawPath(digit.translated(offset));
        painter->restore();
    }

    QIconEngine* clone() const override { return new DigitEngine(m_digit); }

private:
    int m_digit;
};

class SideBySideEngine : public PaintedEngine {
public:
    SideBySideEngine(const QIcon& left, const QIcon& right)
        : m_left(left)
        , m_right(right)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = rect.height();
        const int gap = qMax(0, rect.width() - 2 * side);
        if (!m_left.isNull())
            m_left.paint(painter, QRect(rect.topLeft(), QSize(side, side)), Qt::AlignCenter, mode, state);
        if (!m_right.isNull())
            m_right.paint(painter, QRect(QPoint(rect.left() + side + gap, rect.top()), QSize(side, side)),
                Qt::AlignCenter, mode, state);
    }

    QIconEngine* clone() const override { return new SideBySideEngine(m_left, m_right); }

private:
    QIcon m_left;
    QIcon m_right;
};

} // namespace

QIcon digit(int slot)
{
    return QIcon(new DigitEngine(slot));
}

QList<QIcon> digits()
{
    QList<QIcon> images;
    for (int slot = 0; slot < 10; ++slot)
        images.append(digit(slot));
    return images;
}

QIcon sideBySide(const QIcon& left, const QIcon& right)
{
    return QIcon(new SideBySideEngine(left, right));
}

} // namespace notarium::bookmark_images
