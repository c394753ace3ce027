#pragma once

#include <QObject>

namespace notarium {

// Follows the Caps Lock state through the key events the application receives. Qt has no query
// for it; the desktop's native modifier state, which every key event carries, has it as one bit.
// Until the first key event, and on platforms whose native state is not known, it reads as off.
class CapsLockWatch : public QObject {
    Q_OBJECT

public:
    // The bit of a key event's native modifiers that holds Caps Lock on the running platform
    // (X11 and Wayland: the Lock modifier); 0 where it is not known.
    static quint32 platformLockBit();

    // Watches every key event of the application.
    explicit CapsLockWatch(quint32 lockBit = platformLockBit(), QObject* parent = nullptr);

    bool isOn() const { return m_on; }

signals:
    void changed(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    quint32 m_lockBit;
    bool m_on = false;
};

} // namespace notarium
