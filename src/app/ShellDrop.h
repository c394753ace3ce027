#pragma once

#include <QObject>

class QMimeData;
class QWidget;

namespace notarium {

class FileCommands;

// Files dragged from the file manager onto the window, the tree pane, the title box or the memo
// pane open as documents; the editors must not take them as a "file://" line of text. Only the
// first local file of a drop counts; other drags (text, links to the web, nodes of the tree)
// pass on to the widget.
class ShellDrop : public QObject {
    Q_OBJECT

public:
    ShellDrop(FileCommands& files, QObject* parent = nullptr);

    // Watches widget (its viewport for a scroll area) for dropped files.
    void watch(QWidget* widget);

    // The first local file a drag carries, or empty.
    static QString droppedFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileCommands& m_files;
};

} // namespace notarium
