#include "settings/KeyCustomizeCommands.h"

#include "app/ActionRegistry.h"
#include "app/InputMethods.h"
#include "app/MenuBuilder.h"
#include "app/ShortcutNumber.h"
#include "app/WaitCursor.h"
#include "core/settings/Settings.h"
#include "platform/AppPaths.h"
#include "settings/TCustomizeForm.h"

#include <QApplication>
#include <QHash>
#include <QKeySequence>

#include <memory>

namespace notarium {

namespace {

const QString kCustomizeEvent = QStringLiteral("KeyCustomizeClick");
constexpr const char* kShortcutSection = "ShortCutKeys";

} // namespace

KeyCustomizeCommands::KeyCustomizeCommands(const WindowContext& context, ActionRegistry& actions,
    const MenuBuilder& menus, InputMethods& inputMethods, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_actions(actions)
    , m_menus(menus)
    , m_inputMethods(inputMethods)
    , m_defaultKeyFile(AppPaths::dataFile(QStringLiteral("Default.key")))
{
}

void KeyCustomizeCommands::connect(ActionRegistry& actions)
{
    actions.connectEvent(kCustomizeEvent, this, [this](QAction*) { customizeKeys(); });
}

void KeyCustomizeCommands::updateActions(const ActionState& state)
{
    (void)state;
    m_actions.setEventEnabled(kCustomizeEvent, true);
}

void KeyCustomizeCommands::customizeKeys()
{
    std::unique_ptr<TCustomizeForm> form;
    {
        const WaitCursor wait;
        form = std::make_unique<TCustomizeForm>(m_menus.mainMenus(), m_context.settings.get(key::EnableCtrlAltKey),
            m_defaultKeyFile, m_context.prompt(), m_context.help(), m_context.window);
    }
    // Nothing typed for the dialog may be composed into the panes meanwhile; afterwards their
    // input methods are as the settings say again.
    m_inputMethods.closeAll();
    form->exec();
    m_inputMethods.apply();

    switch (form->outcome()) {
    case TCustomizeForm::Outcome::Saved:
        save(form->records());
        break;
    case TCustomizeForm::Outcome::DefaultsRestored:
        restoreDefaults(form->records(), form->defaultKeys());
        break;
    case TCustomizeForm::Outcome::Cancelled:
        break;
    }
}

void KeyCustomizeCommands::save(const std::vector<CommandRecord>& records)
{
    const WaitCursor wait;
    // Every listed command is written, changed or not, so the file holds the whole key set and
    // later changes of the built-in defaults do not creep into it.
    m_context.host.updateSettings([&records](Settings& settings) {
        for (const CommandRecord& record : records)
            settings.setShortcut(record.name.toStdString(), record.shortcut);
    });
    // The window takes the keys also when the file could not be written.
    QHash<QString, QKeySequence> changed;
    for (const CommandRecord& record : records)
        if (record.changed)
            changed.insert(record.name, keySequenceFromShortcut(record.shortcut));
    m_actions.applyShortcuts(changed);
}

void KeyCustomizeCommands::restoreDefaults(
    const std::vector<CommandRecord>& records, const IniFile::KeyValues& defaults)
{
    const WaitCursor wait;
    m_context.host.updateSettings([&defaults](Settings& settings) {
        settings.ini().eraseSection(kShortcutSection);
        for (const auto& [name, value] : defaults)
            settings.ini().writeString(kShortcutSection, name, value);
    });
    // Every listed command takes its restored key at once, the submenus' ones too. A default set
    // without keys leaves the file without the section, which means the built-in keys: the window
    // takes those.
    const Settings& settings = m_context.settings;
    const QHash<QString, QKeySequence> builtIn = ActionRegistry::defaultShortcuts();
    QHash<QString, QKeySequence> keys;
    for (const CommandRecord& record : records) {
        if (record.hasSubmenu)
            continue;
        keys.insert(record.name,
            settings.hasShortcuts() ? keySequenceFromShortcut(settings.shortcut(record.name.toStdString()))
                                    : builtIn.value(record.name));
    }
    m_actions.applyShortcuts(keys);
}

} // namespace notarium
