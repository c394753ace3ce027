#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

class QAction;
class QActionGroup;
class QIcon;

namespace notarium {

// Owns one QAction per row of the command table, named like the row, and groups them by the
// event they raise, so one handler serves a menu item, its tool bar button and its pop-up twins.
class ActionRegistry : public QObject {
    Q_OBJECT

public:
    // The actions are children of owner (the main window) so that their keys work in its window.
    explicit ActionRegistry(QWidget* owner);
    ~ActionRegistry() override;

    QAction* action(const QString& name) const;
    QList<QAction*> actions() const; // in table order
    QList<QAction*> actionsFor(const QString& event) const; // in table order
    QStringList events() const;

    // Calls handler with the triggering action whenever any action of event is triggered, and
    // marks the event as claimed. An event the command table does not name is a programming error:
    // std::invalid_argument, so a misspelt name fails the first test that builds a window instead
    // of leaving a command silently dead.
    void connectEvent(const QString& event, QObject* context, std::function<void(QAction*)> handler);
    bool isClaimed(const QString& event) const { return m_claimed.contains(event); }
    // The events no handler was connected to, in table order.
    QStringList unclaimedEvents() const;
    // Commands of subsystems that are not part of the window are shown, but never pretend to work.
    void disableUnclaimed() const;

    void setEventEnabled(const QString& event, bool enabled) const;
    void setEventChecked(const QString& event, bool checked) const;
    bool isEventChecked(const QString& event) const;

    // Gives each named action its key (an empty sequence removes it); names without an action are
    // ignored. The bookmark items then get Ctrl+0 .. Ctrl+9 again, which no assignment may take.
    void applyShortcuts(const QHash<QString, QKeySequence>& keys) const;
    static QHash<QString, QKeySequence> defaultShortcuts();

    static QIcon icon(const QString& name);

private:
    void restoreBookmarkKeys() const;

    QList<QAction*> m_actions;
    QHash<QString, QAction*> m_byName;
    QHash<QString, QList<QAction*>> m_byEvent;
    QStringList m_events;
    QSet<QString> m_claimed;
};

} // namespace notarium
