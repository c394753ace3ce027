#pragma once

#include "core/settings/SettingValues.h"

#include <QComboBox>

namespace notarium {

// A drop-down list of the colours that have a name in the settings file ("clTeal", "clWindow"
// …), each with a swatch. The value goes in and out as the settings keep it. A colour without
// a name gets an entry of its own at the end, so whatever the file held comes back unchanged.
class TColourBox : public QComboBox {
    Q_OBJECT

public:
    explicit TColourBox(QWidget* parent = nullptr);

    Colour colour() const;
    void setColour(Colour colour);

signals:
    void colourChanged(Colour colour);

protected:
    void changeEvent(QEvent* event) override;

private:
    void addColour(Colour colour, const QString& text);
    void paintSwatches();

    int m_namedCount = 0;
};

} // namespace notarium
