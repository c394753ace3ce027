#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "textio/TTextOutOptions.h"

#include <QObject>

namespace notarium {

class FileCommands;
class TextExportWriter;
class TreePane;

// Save as text and print through a tool: the outline written as one text file, to a file the
// person names, or to a work file in Temp that the print tool is started on.
class TextOutCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    TextOutCommands(
        const WindowContext& context, TreePane& tree, const FileCommands& files, QObject* parent = nullptr);

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

private:
    using Mode = TTextOutOptions::Mode;

    void exportText(Mode mode);
    // The print work file of the current document: its name with ".txt", in the window's Temp.
    QString workFilePath() const;
    QString askSavePath() const;
    bool writeText(TextExportWriter& writer, const QString& path);
    void startTool(const QString& tool, const QString& parameters);

    WindowContext m_context;
    TreePane& m_tree;
    const FileCommands& m_files;
    ActionRegistry* m_actions = nullptr;
};

} // namespace notarium
