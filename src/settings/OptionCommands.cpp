#include "settings/OptionCommands.h"

#include "app/ActionRegistry.h"
#include "app/Appearance.h"
#include "app/DocumentTreeModel.h"
#include "app/FileCommands.h"
#include "app/InputMethods.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/document/TreeOperations.h"
#include "editor/TExtMemo.h"
#include "memo/HelperListCommands.h"
#include "platform/AppPaths.h"
#include "platform/LoaderControl.h"
#include "settings/TOptionDialog.h"
#include "shell/ShellIntegration.h"

#include <QCoreApplication>
#include <QDir>

namespace notarium {

namespace {

const QString kOptionEvent = QStringLiteral("Option1Click");

} // namespace

OptionCommands::OptionCommands(const WindowContext& context, const Targets& targets, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_targets(targets)
{
}

void OptionCommands::connect(ActionRegistry& actions)
{
    actions.connectEvent(kOptionEvent, this, [this](QAction*) { showOptions(); });
}

void OptionCommands::updateActions(const ActionState&)
{
}

void OptionCommands::showOptions()
{
    OptionDialogState state;
    state.services = m_context.services;
    state.host = &m_context.host;
    state.configFolder = m_context.configFolder;
    state.helperListFile = QDir(m_context.configFolder).filePath(QString::fromLatin1(AppPaths::kHelperListName));
    state.imeColours = m_targets.memo.ImeColors();
    state.clearRecentFiles = [this] { m_targets.files.setRecentFiles({}); };
    const LoaderControl loader = this->loader();
    state.loaderInstalled = loader.isInstalled();
    state.loaderRunning = loader.isRunning();
    TOptionDialog dialog(m_context.settings, std::move(state),
        [this](TOptionDialog& shown, OptionScope scope) { applied(shown, scope); }, m_context.window);
    dialog.exec();
    m_targets.inputMethods.apply();
}

void OptionCommands::applied(TOptionDialog& dialog, OptionScope scope)
{
    // Most options are read where they are used; the look of the panes is set here.
    m_targets.appearance.apply(m_context.settings);
    if (scope == OptionScope::Apply) {
        if (dialog.expandAllChecked())
            expandWholeTree();
    } else {
        m_targets.memo.setImeColors(dialog.state().imeColours);
        if (dialog.state().helperPhrases)
            m_targets.helperList.setPhrases(*dialog.state().helperPhrases, m_context.settings.get(key::HelpListSorted));
        applyResidentMode(dialog.state());
    }
    m_targets.memo.viewport()->update();
}

// The loader is started or asked to close as the state it was in when the dialog opened calls for;
// its log-in entry follows the resident mode. Without a loader beside the program nothing starts.
void OptionCommands::applyResidentMode(const OptionDialogState& state)
{
    const LoaderControl loader = this->loader();
    ShellIntegration shell(DesktopFolders::fromEnvironment(), QCoreApplication::applicationFilePath(),
        m_context.programFolder);
    if (m_context.settings.get(key::InTaskTray)) {
        if (!state.loaderInstalled)
            return;
        shell.placeLoaderStartup();
        if (!state.loaderRunning && m_context.services.launcher)
            loader.start(*m_context.services.launcher);
    } else {
        shell.removeLoaderStartup();
        if (state.loaderRunning)
            loader.requestClose();
    }
}

LoaderControl OptionCommands::loader() const
{
    return LoaderControl(m_context.programFolder,
        QDir(m_context.configFolder).filePath(QString::fromLatin1(AppPaths::kSettingsFileName)));
}

void OptionCommands::expandWholeTree()
{
    TreeOperations(m_context.document).expandWholeDocument();
    if (Node* selected = m_targets.tree.selectedNode())
        m_targets.tree.scrollTo(
            m_targets.tree.documentModel()->indexFromNode(selected), QAbstractItemView::PositionAtTop);
}

} // namespace notarium
