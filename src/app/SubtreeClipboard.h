#pragma once

#include <QString>

class QClipboard;

namespace notarium {

class Document;
class Node;

// The system clipboard's side of subtree transfer: a node with its subtree travels as the
// container stream under the program's own MIME type, so that any window of the program, in this
// process or another, can paste it.
class SubtreeClipboard {
public:
    // The application's clipboard unless another is given (tests).
    explicit SubtreeClipboard(QClipboard* clipboard = nullptr);

    // Puts node and its subtree on the clipboard, replacing what was there, with the titles as
    // plain text beside it. Nothing for null or a hidden root.
    void copy(const Node* node);
    // True when the clipboard holds a subtree of the program.
    bool holdsSubtree() const;
    // Rebuilds the clipboard's subtree as the last child of target and returns its first node.
    // Null, with nothing changed, when the clipboard holds no subtree or bytes that do not read
    // as one; error (when given) then says why, or stays empty when there was simply nothing.
    Node* paste(Node* target, Document& document, QString* error = nullptr) const;

private:
    QClipboard* m_clipboard;
};

} // namespace notarium
