#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"

#include <QObject>

class QWidget;

namespace notarium {

// The Help menu: the help at the focused pane's topic, the topic search and the version box.
class HelpCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    // The panes whose help topics F1 opens: the tree pane, the title box and the memo pane.
    HelpCommands(const WindowContext& context, QWidget& tree, QWidget& title, QWidget& memo, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState&) override { }

    // The help context of the control that has the focus.
    int contextOfFocus() const;

private:
    WindowContext m_context;
    QWidget& m_tree;
    QWidget& m_title;
    QWidget& m_memo;
};

} // namespace notarium
