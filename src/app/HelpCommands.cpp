#include "app/HelpCommands.h"

#include "app/AboutBox.h"
#include "app/ActionRegistry.h"
#include "app/HelpWindow.h"

#include <QApplication>

namespace notarium {

HelpCommands::HelpCommands(const WindowContext& context, QWidget& tree, QWidget& title, QWidget& memo, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_title(title)
    , m_memo(memo)
{
}

void HelpCommands::connect(ActionRegistry& a)
{
    a.connectEvent(QStringLiteral("Contents1Click"), this, [this](QAction*) { m_context.help().showContext(contextOfFocus()); });
    a.connectEvent(QStringLiteral("SearchforHelpOn1Click"), this, [this](QAction*) { m_context.help().showSearch(); });
    a.connectEvent(QStringLiteral("About1Click"), this, [this](QAction*) {
        AboutBox box(m_context.window);
        box.exec();
    });
}

int HelpCommands::contextOfFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    auto within = [focus](const QWidget& pane) { return focus == &pane || (focus && pane.isAncestorOf(focus)); };
    if (within(m_tree))
        return HelpWindow::TreePaneContext;
    if (within(m_title))
        return HelpWindow::TitleBoxContext;
    if (within(m_memo))
        return HelpWindow::MemoPaneContext;
    return HelpWindow::MainWindowContext;
}

} // namespace notarium
