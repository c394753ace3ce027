#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace notarium {

class ActionRegistry;

// Puts the registry's actions into the main window's menu bar, pop-up menus and four dockable tool
// bars as the command table lays them out, and keeps each tool bar's visibility and the check
// marks of its two toggles (View menu and tool bar pop-up menu) in agreement.
class MenuBuilder : public QObject {
    Q_OBJECT

public:
    MenuBuilder(QMainWindow* window, ActionRegistry& registry);
    ~MenuBuilder() override;

    // Every menu by object name: the menu bar's menus, their submenus and the pop-up menus.
    QMenu* menu(const QString& name) const;
    QList<QMenu*> mainMenus() const; // in menu bar order
    QToolBar* toolBar(const QString& name) const;
    QList<QToolBar*> toolBars() const;
    QToolButton* toolButton(const QString& actionName) const;

    // A new pmToolbar for QMainWindow::createPopupMenu, which deletes the menu once it closes.
    QMenu* createToolbarPopup(QWidget* parent) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* buildMenu(const QString& name, QWidget* parent);
    void buildToolBar(const QString& name);
    void syncToolbarChecks(QToolBar* toolBar) const;

    QMainWindow* m_window;
    ActionRegistry& m_registry;
    QHash<QString, QMenu*> m_menus;
    QList<QMenu*> m_mainMenus;
    QList<QToolBar*> m_toolBars;
    QHash<QToolBar*, QString> m_toggleEvents;
};

} // namespace notarium
