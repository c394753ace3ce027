#pragma once

#include "core/transfer/TNodeDataItem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace notarium {

// A flat, ordered list of node records: a subtree in pre-order on its way to the clipboard, or
// from a template into the tree. The name is the component name of the stream; the program's own
// containers leave it empty.
class TCollectionContainer {
public:
    TCollectionContainer() = default;
    explicit TCollectionContainer(std::string name)
        : m_name(std::move(name))
    {
    }

    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }

    const std::vector<TNodeDataItem>& collection() const { return m_items; }
    std::vector<TNodeDataItem>& collection() { return m_items; }
    std::size_t count() const { return m_items.size(); }
    bool isEmpty() const { return m_items.empty(); }
    const TNodeDataItem& item(std::size_t index) const { return m_items[index]; }

    // Appends a fresh item (every field zero, empty or false) and returns it.
    TNodeDataItem& add() { return m_items.emplace_back(); }
    void clear() { m_items.clear(); }

    friend bool operator==(const TCollectionContainer&, const TCollectionContainer&) = default;

private:
    std::string m_name;
    std::vector<TNodeDataItem> m_items;
};

} // namespace notarium
