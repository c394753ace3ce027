#pragma once

#include "core/document/Document.h"

namespace notarium {

// The outline the tree pane tests work on: the document node with A (A1, A2 (A2a), A3), B and C;
// the paper folder with P1. Only the document node is expanded; each test opens what it needs.
struct SampleOutline {
    Document document;
    Node* a = nullptr;
    Node* a1 = nullptr;
    Node* a2 = nullptr;
    Node* a2a = nullptr;
    Node* a3 = nullptr;
    Node* b = nullptr;
    Node* c = nullptr;
    Node* p1 = nullptr;

    SampleOutline()
    {
        document.newDocument();
        Node* top = document.documentNode();
        a = document.appendNode(top, "A", KindCategory);
        a1 = document.appendNode(a, "A1", KindMemo);
        a2 = document.appendNode(a, "A2", KindMemo);
        a2a = document.appendNode(a2, "A2a", KindResult);
        a3 = document.appendNode(a, "A3", KindMemo);
        b = document.appendNode(top, "B", KindMemo);
        c = document.appendNode(top, "C", KindCategory);
        p1 = document.appendNode(document.paperFolderNode(), "P1", KindMemo);
        document.setExpanded(top, true);
    }
};

} // namespace notarium
