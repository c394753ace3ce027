#pragma once

#include "app/CommandSet.h"
#include "app/WindowContext.h"
#include "core/textio/TextEncoding.h"

#include <QObject>
#include <QString>

namespace notarium {

class FileCommands;
class MemoCommands;
class TExtMemo;

// Editing the selected node's text in the external text editor: the memo pane's text goes to a
// work file in Temp, the editor is started on it, and the window waits, disabled, until the
// editor has let go of the file (or, with TextBadEnv, until the person presses OK); a changed
// file comes back into the memo pane and the node. Shift+Esc gives the window back should the
// editor never let go.
class EditorCommands : public QObject, public CommandSet {
    Q_OBJECT

public:
    EditorCommands(const WindowContext& context, TExtMemo& memo, const FileCommands& files,
        const MemoCommands& memoCommands, QObject* parent = nullptr);
    ~EditorCommands() override;

    void connect(ActionRegistry& actions) override;
    void updateActions(const ActionState& state) override;

    // The editor has the text; the window waits for it.
    bool isEditing() const { return m_editing; }

    // Wait times. Retrying more often than this gains little: a person closing an editor does
    // not notice 0.8 s, and each retry scans every process's open files.
    static constexpr int kRetryMs = 800;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Watch;

    void editInEditor();
    QString workFilePath() const;
    // Waits with the window disabled until the editor has let go of the file or the person
    // gave the window back (Shift+Esc).
    void waitForRelease(Watch& watch);
    // Replaces the memo pane's text by the work file's, when that changed. False when the file is
    // gone.
    bool takeBack(const QString& path, const QByteArray& written, TextEncoding encoding, int caret);

    WindowContext m_context;
    TExtMemo& m_memo;
    const FileCommands& m_files;
    const MemoCommands& m_memoCommands;
    ActionRegistry* m_actions = nullptr;
    bool m_editing = false;
    Watch* m_watch = nullptr;
    bool m_shiftEscapePressed = false;
};

} // namespace notarium
