#include "app/ActionRegistry.h"

#include "app/CommandTable.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QWidget>

#include <stdexcept>

namespace notarium {

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

ActionRegistry::ActionRegistry(QWidget* owner)
    : QObject(owner)
{
    QHash<QString, QActionGroup*> groups;
    for (const CommandRow& row : CommandTable::rows()) {
        auto* action = new QAction(owner);
        const QString name = utf8(row.name);
        action->setObjectName(name);
        // Tool buttons show glyphs only; their text is the tooltip, so a button that is shown with
        // text (overflow menu of a narrow tool bar) still names its command.
        action->setText(*row.caption ? utf8(row.caption) : utf8(row.toolTip));
        if (*row.shortcut)
            action->setShortcut(QKeySequence::fromString(utf8(row.shortcut), QKeySequence::PortableText));
        if (*row.toolTip)
            action->setToolTip(utf8(row.toolTip));
        action->setStatusTip(utf8(row.statusTip));
        if (*row.icon)
            action->setIcon(icon(utf8(row.icon)));
        action->setCheckable(row.checkable);
        action->setChecked(row.checked);
        action->setEnabled(row.enabled);
        if (row.tag >= 0)
            action->setData(row.tag);
        if (*row.group) {
            QActionGroup*& group = groups[utf8(row.group)];
            if (!group) {
                group = new QActionGroup(owner);
                group->setObjectName(utf8(row.group));
                group->setExclusionPolicy(row.allowAllUp ? QActionGroup::ExclusionPolicy::ExclusiveOptional
                                                         : QActionGroup::ExclusionPolicy::Exclusive);
            }
            group->addAction(action);
        }
        m_actions.append(action);
        m_byName.insert(name, action);
        if (*row.event) {
            const QString event = utf8(row.event);
            if (!m_byEvent.contains(event))
                m_events.append(event);
            m_byEvent[event].append(action);
        }
    }

    // A toggle shown twice (menu item and button, or two menus) must never show two states: when
    // one of them flips, its twins follow. setChecked on an equal state emits nothing, so this
    // cannot loop.
    for (const QList<QAction*>& twins : std::as_const(m_byEvent)) {
        for (QAction* action : twins) {
            if (!action->isCheckable())
                continue;
            connect(action, &QAction::toggled, action, [twins](bool checked) {
                for (QAction* twin : twins)
                    if (twin->isCheckable())
                        twin->setChecked(checked);
            });
        }
    }
}

ActionRegistry::~ActionRegistry() = default;

QAction* ActionRegistry::action(const QString& name) const
{
    return m_byName.value(name);
}

QList<QAction*> ActionRegistry::actions() const
{
    return m_actions;
}

QList<QAction*> ActionRegistry::actionsFor(const QString& event) const
{
    return m_byEvent.value(event);
}

QStringList ActionRegistry::events() const
{
    return m_events;
}

void ActionRegistry::connectEvent(const QString& event, QObject* context, std::function<void(QAction*)> handler)
{
    const auto found = m_byEvent.constFind(event);
    if (found == m_byEvent.constEnd())
        throw std::invalid_argument("no command raises the event " + event.toStdString());
    m_claimed.insert(event);
    for (QAction* action : *found)
        connect(action, &QAction::triggered, context, [action, handler] { handler(action); });
}

QStringList ActionRegistry::unclaimedEvents() const
{
    QStringList unclaimed;
    for (const QString& event : m_events)
        if (!m_claimed.contains(event))
            unclaimed << event;
    return unclaimed;
}

void ActionRegistry::disableUnclaimed() const
{
    for (const QString& event : unclaimedEvents())
        setEventEnabled(event, false);
}

void ActionRegistry::setEventEnabled(const QString& event, bool enabled) const
{
    for (QAction* action : m_byEvent.value(event))
        action->setEnabled(enabled);
}

void ActionRegistry::setEventChecked(const QString& event, bool checked) const
{
    for (QAction* action : m_byEvent.value(event))
        if (action->isCheckable())
            action->setChecked(checked);
}

bool ActionRegistry::isEventChecked(const QString& event) const
{
    for (QAction* action : m_byEvent.value(event))
        if (action->isCheckable())
            return action->isChecked();
    return false;
}

void ActionRegistry::applyShortcuts(const QHash<QString, QKeySequence>& keys) const
{
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        if (QAction* target = m_byName.value(it.key()))
            target->setShortcut(it.value());
    restoreBookmarkKeys();
}

void ActionRegistry::restoreBookmarkKeys() const
{
    // Ctrl+digit belongs to the bookmarks whatever the stored keys say.
    for (QAction* action : m_byEvent.value(QStringLiteral("BookmarkItemClick"))) {
        const CommandRow* row = CommandTable::row(action->objectName().toStdString());
        if (row && *row->shortcut)
            action->setShortcut(QKeySequence::fromString(utf8(row->shortcut), QKeySequence::PortableText));
    }
}

QHash<QString, QKeySequence> ActionRegistry::defaultShortcuts()
{
    QHash<QString, QKeySequence> keys;
    for (const CommandRow& row : CommandTable::rows())
        if (*row.shortcut)
            keys.insert(
                utf8(row.name), QKeySequence::fromString(utf8(row.shortcut), QKeySequence::PortableText));
    return keys;
}

QIcon ActionRegistry::icon(const QString& name)
{
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}

} // namespace notarium
