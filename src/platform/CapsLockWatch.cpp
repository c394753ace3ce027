#include "platform/CapsLockWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace notarium {

quint32 CapsLockWatch::platformLockBit()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("xcb") || platform.startsWith(QStringLiteral("wayland")))
        return 0x2;
    return 0;
}

CapsLockWatch::CapsLockWatch(quint32 lockBit, QObject* parent)
    : QObject(parent)
    , m_lockBit(lockBit)
{
    if (m_lockBit != 0 && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

bool CapsLockWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // The native state is the one before the event: pressing Caps Lock itself turns it round.
    bool on = (key->nativeModifiers() & m_lockBit) != 0;
    if (key->key() == Qt::Key_CapsLock && event->type() == QEvent::KeyPress)
        on = !on;
    if (on != m_on) {
        m_on = on;
        emit changed(on);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
