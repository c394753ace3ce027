#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"

#include <QObject>

namespace notarium {

class FileCommands;
class TExtMemo;

// Reading a text file into the memo pane at the caret, as if it had been typed there.
class TextInCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    TextInCommands(
        const WindowContext& context, TExtMemo& memo, const FileCommands& files, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

private:
    void chooseAndImport();
    // Inserts the file's text, unless it cannot be read, is no text, or is large and the person
    // declines it; the memo pane is then left as it was.
    void importFile(const QString& path);

    WindowContext m_context;
    TExtMemo& m_memo;
    const FileCommands& m_files;
    ActionRegistry* m_actions = nullptr;
};

} // namespace notarium
