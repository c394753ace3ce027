#include "settings/TColourBox.h"

#include "app/Colours.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>

namespace notarium {

namespace {

// The named colours a person can pick: clNone and clDefault are no colour to paint with.
bool offered(const ColourIdentifier& identifier)
{
    return identifier.value != kColourNone && identifier.value != kColourDefault;
}

QString shownName(std::string_view identifier)
{
    // "clTeal" shows as "Teal".
    if (identifier.starts_with("cl"))
        identifier.remove_prefix(2);
    return QString::fromLatin1(identifier.data(), static_cast<qsizetype>(identifier.size()));
}

} // namespace

TColourBox::TColourBox(QWidget* parent)
    : QComboBox(parent)
{
    setIconSize(QSize(24, 12));
    // As wide as the usual names; the list opens wide enough for the long system colour names.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(7);
    for (const ColourIdentifier& identifier : colourIdentifiers())
        if (offered(identifier))
            addColour(identifier.value, shownName(identifier.name));
    m_namedCount = count();
    paintSwatches();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit colourChanged(colour());
    });
}

Colour TColourBox::colour() const
{
    return static_cast<Colour>(currentData().toUInt());
}

void TColourBox::setColour(Colour colour)
{
    int index = findData(static_cast<uint>(colour));
    if (index < 0) {
        // One entry for a colour without a name: the last one such colour had goes.
        while (count() > m_namedCount)
            removeItem(count() - 1);
        addColour(colour, QString::fromStdString(setting_values::writeColourName(colour)));
        paintSwatches();
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void TColourBox::addColour(Colour colour, const QString& text)
{
    addItem(text, static_cast<uint>(colour));
}

void TColourBox::paintSwatches()
{
    // The system colours follow the palette, so their swatches are painted anew when it changes.
    for (int i = 0; i < count(); ++i) {
        QPixmap swatch(iconSize());
        swatch.fill(qColorFromColour(static_cast<Colour>(itemData(i).toUInt()), palette()));
        QPainter painter(&swatch);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
        painter.end();
        setItemIcon(i, QIcon(swatch));
    }
}

void TColourBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        paintSwatches();
    QComboBox::changeEvent(event);
}

} // namespace notarium
