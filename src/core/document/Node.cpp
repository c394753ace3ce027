#include "core/document/Node.h"

namespace notarium {

// With the 64-bit layout of the standard library's string and vector, a node fills the
// allocator's 144-byte block (136 bytes and the block's own 8): a million nodes of a large file
// are 144 MB.
static_assert(sizeof(std::string) != 32 || sizeof(std::vector<std::unique_ptr<Node>>) != 24 || sizeof(Node) <= 136,
    "a node has outgrown its allocator block");

Node::Node(std::string title, int imageIndex, bool hasData)
    : m_title(std::move(title))
    , m_imageIndex(imageIndex)
    , m_selectedIndex(imageIndex)
    , m_hasData(hasData)
{
}

Node::~Node()
{
    std::vector<std::unique_ptr<Node>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

int Node::level() const
{
    int level = -1;
    for (const Node* p = m_parent; p != nullptr; p = p->m_parent)
        ++level;
    return level;
}

Node* Node::nextSibling() const
{
    if (m_parent == nullptr || m_row + 1 >= m_parent->childCount())
        return nullptr;
    return m_parent->child(m_row + 1);
}

Node* Node::prevSibling() const
{
    if (m_parent == nullptr || m_row == 0)
        return nullptr;
    return m_parent->child(m_row - 1);
}

bool Node::isAncestorOf(const Node* other) const
{
    for (const Node* p = other ? other->m_parent : nullptr; p != nullptr; p = p->m_parent)
        if (p == this)
            return true;
    return false;
}

Node* Node::next() const
{
    if (!m_children.empty())
        return m_children.front().get();
    for (const Node* n = this; n != nullptr && n->m_parent != nullptr; n = n->m_parent)
        if (Node* sibling = n->nextSibling())
            return sibling;
    return nullptr;
}

Node* Node::prev() const
{
    if (m_parent == nullptr)
        return nullptr;
    if (Node* sibling = prevSibling())
        return sibling->lastDescendant();
    // The hidden root is not a node of the walk.
    return m_parent->m_parent == nullptr ? nullptr : m_parent;
}

const Node* Node::lastDescendant() const
{
    const Node* n = this;
    while (!n->m_children.empty())
        n = n->m_children.back().get();
    return n;
}

Node* Node::lastDescendant()
{
    return const_cast<Node*>(static_cast<const Node*>(this)->lastDescendant());
}

std::size_t Node::subtreeSize() const
{
    std::size_t count = 1;
    const Node* end = lastDescendant();
    for (const Node* n = this; n != end; n = n->next())
        ++count;
    return count;
}

} // namespace notarium
