#include "app/MenuBuilder.h"

#include "app/ActionRegistry.h"
#include "app/CommandTable.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace notarium {

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The page buttons repeat while held, first after this delay and then at this interval.
constexpr int kRepeatMilliseconds = 500;

} // namespace

MenuBuilder::MenuBuilder(QMainWindow* window, ActionRegistry& registry)
    : QObject(window)
    , m_window(window)
    , m_registry(registry)
{
    // Pop-up menus first: the tool buttons take their drop-down menus from them.
    for (const CommandContainer& c : CommandTable::containers())
        if (c.kind == ContainerKind::Popup)
            buildMenu(utf8(c.name), window);

    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const CommandContainer& c : CommandTable::containers()) {
        if (c.kind != ContainerKind::MainMenu)
            continue;
        QMenu* menu = buildMenu(utf8(c.name), bar);
        bar->addMenu(menu);
        m_mainMenus.append(menu);
    }

    for (const CommandContainer& c : CommandTable::containers())
        if (c.kind == ContainerKind::ToolBar)
            buildToolBar(utf8(c.name));
}

MenuBuilder::~MenuBuilder() = default;

QMenu* MenuBuilder::buildMenu(const QString& name, QWidget* parent)
{
    const CommandContainer* c = CommandTable::container(name.toStdString());
    auto* menu = new QMenu(utf8(c->caption), parent);
    menu->setObjectName(name);
    // The item that opens a submenu is named like it, so the key customisation can list it.
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setStatusTip(utf8(c->statusTip));
    for (const char* item : c->items) {
        if (item == kSeparator) {
            menu->addSeparator();
        } else if (CommandTable::container(item)) {
            menu->addMenu(buildMenu(utf8(item), menu));
        } else {
            menu->addAction(m_registry.action(utf8(item)));
        }
    }
    m_menus.insert(name, menu);
    return menu;
}

void MenuBuilder::buildToolBar(const QString& name)
{
    const CommandContainer* c = CommandTable::container(name.toStdString());
    auto* toolBar = new QToolBar(utf8(c->caption), m_window);
    toolBar->setObjectName(name);
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setIconSize(QSize(16, 16));
    m_window->addToolBar(c->area, toolBar);

    for (const char* item : c->items) {
        if (item == kSeparator) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = m_registry.action(utf8(item));
        toolBar->addAction(action);
        auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
        const CommandRow* row = CommandTable::row(item);
        if (!button || !row)
            continue;
        if (*row->dropDown) {
            button->setMenu(m_menus.value(utf8(row->dropDown)));
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (row->repeating) {
            button->setAutoRepeat(true);
            button->setAutoRepeatDelay(kRepeatMilliseconds);
            button->setAutoRepeatInterval(kRepeatMilliseconds);
        }
    }

    const QString toggleEvent = utf8(c->toggleEvent);
    m_toggleEvents.insert(toolBar, toggleEvent);
    m_toolBars.append(toolBar);
    m_registry.connectEvent(
        toggleEvent, toolBar, [toolBar](QAction* toggle) { toolBar->setVisible(toggle->isChecked()); });
    // The tool bar can also be hidden by its own close box, by restoring a saved window state or
    // by the quick memo commands; the filter sees all of these.
    toolBar->installEventFilter(this);
    if (!c->visible)
        toolBar->hide();
    syncToolbarChecks(toolBar);
}

bool MenuBuilder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        if (auto* toolBar = qobject_cast<QToolBar*>(watched); toolBar && m_toggleEvents.contains(toolBar))
            syncToolbarChecks(toolBar);
    }
    return QObject::eventFilter(watched, event);
}

void MenuBuilder::syncToolbarChecks(QToolBar* toolBar) const
{
    // isHidden is the tool bar's own state, independent of whether the window is shown yet.
    m_registry.setEventChecked(m_toggleEvents.value(toolBar), !toolBar->isHidden());
}

QMenu* MenuBuilder::menu(const QString& name) const
{
    return m_menus.value(name);
}

QList<QMenu*> MenuBuilder::mainMenus() const
{
    return m_mainMenus;
}

QToolBar* MenuBuilder::toolBar(const QString& name) const
{
    for (QToolBar* toolBar : m_toolBars)
        if (toolBar->objectName() == name)
            return toolBar;
    return nullptr;
}

QList<QToolBar*> MenuBuilder::toolBars() const
{
    return m_toolBars;
}

QToolButton* MenuBuilder::toolButton(const QString& actionName) const
{
    QAction* action = m_registry.action(actionName);
    if (!action)
        return nullptr;
    for (QToolBar* toolBar : m_toolBars)
        if (auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action)))
            return button;
    return nullptr;
}

QMenu* MenuBuilder::createToolbarPopup(QWidget* parent) const
{
    auto* popup = new QMenu(parent);
    popup->setObjectName(QStringLiteral("pmToolbar"));
    const QMenu* shared = m_menus.value(QStringLiteral("pmToolbar"));
    if (shared)
        popup->addActions(shared->actions());
    return popup;
}

} // namespace notarium
