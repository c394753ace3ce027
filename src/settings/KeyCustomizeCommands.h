#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/settings/IniFile.h"

#include <QObject>
#include <QString>

#include <vector>

namespace notarium {

class InputMethods;
class MenuBuilder;
struct CommandRecord;

// The key customisation: the dialog that gives the main menu's commands other keys, and writing
// and applying what it chose.
class KeyCustomizeCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    KeyCustomizeCommands(const WindowContext& context, ActionRegistry& actions, const MenuBuilder& menus,
        InputMethods& inputMethods, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    // Where the dialog looks for the default key set (the shipped Default.key unless set).
    void setDefaultKeyFile(const QString& path) { m_defaultKeyFile = path; }
    QString defaultKeyFile() const { return m_defaultKeyFile; }

private:
    void customizeKeys();
    void save(const std::vector<CommandRecord>& records);
    void restoreDefaults(const std::vector<CommandRecord>& records, const IniFile::KeyValues& defaults);

    WindowContext m_context;
    ActionRegistry& m_actions;
    const MenuBuilder& m_menus;
    InputMethods& m_inputMethods;
    QString m_defaultKeyFile;
};

} // namespace notarium
