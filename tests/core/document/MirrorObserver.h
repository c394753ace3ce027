#pragma once

#include "core/document/Document.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace notarium::testing {

// A second copy of the tree kept up to date from observer events alone, the way a view adapter
// keeps its own rows. If an event is missing, wrong or out of order, the copy drifts from the
// document and matches() says where.
class MirrorObserver : public DocumentObserver {
public:
    void reset(const Document& document)
    {
        m_items.clear();
        m_root = document.root();
        snapshot(m_root);
        events = 0;
    }

    void nodesAboutToBeInserted(Node*, int, int) override { ++events; }
    void nodesInserted(Node* parent, int first, int last) override
    {
        auto& children = item(parent).children;
        for (int row = first; row <= last; ++row) {
            children.insert(children.begin() + row, parent->child(row));
            snapshot(parent->child(row));
        }
    }
    void nodesAboutToBeRemoved(Node* parent, int first, int last) override
    {
        ++events;
        auto& children = item(parent).children;
        for (int row = last; row >= first; --row) {
            const Node* gone = children.at(static_cast<std::size_t>(row));
            EXPECT_EQ(gone, parent->child(row)) << "removal names a row the view does not hold";
            forget(gone);
            children.erase(children.begin() + row);
        }
    }
    void nodesRemoved(Node*, int, int) override { }
    void nodeAboutToBeMoved(Node* node, Node* toParent, int toRow) override
    {
        ++events;
        const auto& from = item(node->parent()).children;
        EXPECT_EQ(from.at(static_cast<std::size_t>(node->row())), node) << "move announced from a wrong row";
        m_moveTo = toParent;
        m_moveRow = toRow;
    }
    void nodeMoved(Node* node, Node* fromParent, int fromRow) override
    {
        auto& from = item(fromParent).children;
        ASSERT_EQ(from.at(static_cast<std::size_t>(fromRow)), node);
        from.erase(from.begin() + fromRow);
        auto& to = item(m_moveTo).children;
        to.insert(to.begin() + m_moveRow, node);
        EXPECT_EQ(node->parent(), m_moveTo);
        EXPECT_EQ(node->row(), m_moveRow);
    }
    void nodeChanged(Node* node, NodeChange change) override
    {
        ++events;
        Item& it = item(node);
        switch (change) {
        case NodeChange::Title:
            it.title = node->title();
            break;
        case NodeChange::Kind:
            it.kind = node->imageIndex();
            break;
        case NodeChange::Expanded:
            it.expanded = node->isExpanded();
            break;
        case NodeChange::Data:
        case NodeChange::Bookmark:
            break;
        }
    }
    void expansionReset() override
    {
        ++events;
        for (auto& [node, it] : m_items)
            it.expanded = node->isExpanded();
    }
    void documentAboutToBeReset() override { ADD_FAILURE() << "no command resets the document"; }
    void documentReset() override { }
    void modifiedChanged(bool) override { }

    // Empty when the copy equals the document, else the first difference.
    std::string mismatch(const Document& document) const
    {
        std::vector<const Node*> pending { document.root() };
        while (!pending.empty()) {
            const Node* node = pending.back();
            pending.pop_back();
            auto found = m_items.find(node);
            if (found == m_items.end())
                return "unknown node " + node->title();
            const Item& it = found->second;
            if (!node->isRoot()
                && (it.title != node->title() || it.kind != node->imageIndex()
                    || it.expanded != node->isExpanded()))
                return "stale state of " + node->title();
            if (it.children.size() != static_cast<std::size_t>(node->childCount()))
                return "child count of " + node->title();
            for (int row = 0; row < node->childCount(); ++row) {
                if (it.children[static_cast<std::size_t>(row)] != node->child(row))
                    return "child " + std::to_string(row) + " of " + node->title();
                pending.push_back(node->child(row));
            }
        }
        return m_items.size() == document.nodeCount() + 1 ? std::string() : "leftover nodes";
    }

    // Structural and expansion events since the last reset.
    int events = 0;

private:
    struct Item {
        std::string title;
        int kind = 0;
        bool expanded = false;
        std::vector<const Node*> children;
    };

    Item& item(const Node* node)
    {
        auto found = m_items.find(node);
        if (found == m_items.end()) {
            ADD_FAILURE() << "event about a node the view never heard of";
            return m_items[node];
        }
        return found->second;
    }

    void snapshot(const Node* top)
    {
        std::vector<const Node*> pending { top };
        while (!pending.empty()) {
            const Node* node = pending.back();
            pending.pop_back();
            Item& it = m_items[node];
            it = Item { node->title(), node->imageIndex(), node->isExpanded(), {} };
            for (int row = 0; row < node->childCount(); ++row) {
                it.children.push_back(node->child(row));
                pending.push_back(node->child(row));
            }
        }
    }

    void forget(const Node* top)
    {
        std::vector<const Node*> pending { top };
        while (!pending.empty()) {
            const Node* node = pending.back();
            pending.pop_back();
            auto found = m_items.find(node);
            if (found == m_items.end())
                continue;
            for (const Node* child : found->second.children)
                pending.push_back(child);
            m_items.erase(found);
        }
    }

    std::unordered_map<const Node*, Item> m_items;
    const Node* m_root = nullptr;
    Node* m_moveTo = nullptr;
    int m_moveRow = 0;
};

} // namespace notarium::testing
