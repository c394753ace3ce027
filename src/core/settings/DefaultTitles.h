#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace notarium {

// One default title set: the titles the plain new-node commands give a new category, memo and
// result, stored as comma text ("Category,Memo,Result"). Items are taken by position, so a set
// stored without the quotes it needed ("New idea,Memo,Result") reads as four items and the memo
// gets the second of them.
class DefaultTitles {
public:
    static constexpr std::string_view kBuiltIn = "Category,Memo,Result";

    DefaultTitles();
    explicit DefaultTitles(std::string_view commaText);
    DefaultTitles(std::string category, std::string memo, std::string result);

    // Title for a node kind: 1 category, 2 memo, 3 result. A set with fewer than three items
    // gives the built-in title where its own is missing.
    std::string titleFor(int kind) const;
    const std::vector<std::string>& items() const { return m_items; }
    std::string commaText() const;

private:
    std::vector<std::string> m_items;
};

} // namespace notarium
