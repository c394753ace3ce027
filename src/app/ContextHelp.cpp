#include "app/ContextHelp.h"

#include "app/Services.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace notarium {

namespace {

constexpr const char* kProperty = "helpContext";

} // namespace

ContextHelp::ContextHelp(QWidget* dialog, HelpService& help, int dialogContext)
    : QObject(dialog)
    , m_dialog(dialog)
    , m_help(help)
    , m_context(dialogContext)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(f1, &QShortcut::activated, this, [this] {
        const QWidget* focus = QApplication::focusWidget();
        const bool inside = focus != nullptr && (focus == m_dialog || m_dialog->isAncestorOf(focus));
        m_help.showContext(helpContextOf(inside ? focus : m_dialog, m_context));
    });
    // A right click on a control without a menu of its own reaches the dialog.
    dialog->installEventFilter(this);
}

void ContextHelp::setHelpContext(QWidget* widget, int context)
{
    widget->setProperty(kProperty, context);
}

int ContextHelp::helpContextOf(const QWidget* widget, int fallback)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant context = w->property(kProperty);
        if (context.isValid())
            return context.toInt();
        if (w->isWindow())
            break;
    }
    return fallback;
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dialog && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QWidget* under = m_dialog->childAt(m_dialog->mapFromGlobal(menuEvent->globalPos()));
        const int context = helpContextOf(under ? under : m_dialog, m_context);
        auto* menu = new QMenu(m_dialog);
        menu->setObjectName(QStringLiteral("pmHelp"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction* help = menu->addAction(QStringLiteral("ヘルプ(&W)"));
        QObject::connect(help, &QAction::triggered, this, [this, context] { m_help.showContext(context); });
        menu->popup(menuEvent->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace notarium
