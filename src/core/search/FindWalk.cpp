#include "core/search/FindWalk.h"

#include "core/document/Document.h"
#include "core/search/HTSearch.h"
#include "core/search/SearchPattern.h"
#include "core/text/ShiftJis.h"

#include <algorithm>
#include <limits>

namespace notarium {

SearchOptions makeSearchOptions(
    bool forward, bool matchCase, bool ignoreWidth, bool skipBreaksAndSpaces, bool wholeWord)
{
    return SearchOptions()
        .with(SearchOption::Forward, forward)
        .with(SearchOption::MatchCase, matchCase)
        .with(SearchOption::IgnoreWidth, ignoreWidth)
        .with(SearchOption::SkipLineBreaks, skipBreaksAndSpaces)
        .with(SearchOption::SkipSpaces, skipBreaksAndSpaces)
        .with(SearchOption::WholeWord, wholeWord);
}

SearchOptions FindState::options() const
{
    return makeSearchOptions(forward, matchCase, ignoreWidth, skipBreaksAndSpaces, wholeWord);
}

namespace {

const SearchOptions kTitleOptions = SearchOption::Forward | SearchOption::MatchCase;

std::size_t findWith(std::string_view title, const SearchPattern& pattern)
{
    const std::optional<TextHit> hit = findForwardFrom(title, pattern, 0);
    return hit ? static_cast<std::size_t>(hit->offset) : std::string_view::npos;
}

// The walk through the document in display order with the question at either end.
class Walk {
public:
    Walk(const Document& doc, bool forward, const WrapQuestion& askWrap)
        : m_doc(doc)
        , m_forward(forward)
        , m_askWrap(askWrap)
    {
    }

    // The next node in the search direction, going on from the other end when the person agrees;
    // null when they do not.
    Node* step(const Node* node)
    {
        Node* next = m_forward ? node->next() : node->prev();
        if (next != nullptr)
            return next;
        m_declined = !m_askWrap || !m_askWrap(m_forward);
        if (m_declined)
            return nullptr;
        return m_forward ? m_doc.documentNode() : lastNode();
    }
    bool declined() const { return m_declined; }

private:
    Node* lastNode() const
    {
        Node* last = m_doc.root()->lastChild();
        while (last != nullptr && last->hasChildren())
            last = last->lastChild();
        return last;
    }

    const Document& m_doc;
    bool m_forward;
    const WrapQuestion& m_askWrap;
    bool m_declined = false;
};

} // namespace

FindWalkResult findNodeHit(const Document& doc, Node* selected, FindFrom from, const FindState& state,
    bool& titleHit, const WrapQuestion& askWrap)
{
    using Outcome = FindWalkResult::Outcome;
    // Neither titles nor bodies: nothing could ever be found, and the walk would only go round.
    if (selected == nullptr || (!state.titles && !state.bodies))
        return {};
    Walk walk(doc, state.forward, askWrap);
    const SearchPattern bodyPattern(state.text, state.options());
    const SearchPattern titlePattern(state.text, kTitleOptions);
    if (bodyPattern.empty())
        return {};
    const auto ended = [&](Node* node) {
        return FindWalkResult { walk.declined() ? Outcome::Declined : Outcome::PageEnded, node };
    };

    Node* node = selected;
    if (from == FindFrom::NextNode && (node = walk.step(node)) == nullptr)
        return ended(nullptr);
    while (node != nullptr) {
        const TNodeData* data = node->data();
        if (data == nullptr) {
            node = walk.step(node);
            continue;
        }
        if (state.titles && !titleHit) {
            if (findWith(node->title(), titlePattern) != std::string_view::npos) {
                titleHit = true;
                return { Outcome::TitleHit, node };
            }
            if (!state.bodies) {
                node = walk.step(node);
                continue;
            }
        } else {
            titleHit = false;
            if (!state.bodies) {
                node = walk.step(node);
                continue;
            }
        }
        const std::string& text = data->MemoStr;
        const SelectionPair from { state.forward ? 0 : static_cast<std::int32_t>(std::min<std::size_t>(
                                                      text.size(), std::numeric_limits<std::int32_t>::max())),
            0 };
        if (!text.empty() && searchFrom(text, from, bodyPattern))
            return { Outcome::BodyHit, node };
        if (!state.allPages)
            return { Outcome::PageEnded, node };
        node = walk.step(node);
    }
    return ended(nullptr);
}

std::string wrapQuestion(bool forward)
{
    const char* end = forward ? "終わり" : "先頭";
    const char* other = forward ? "先頭" : "終わり";
    return std::string("ファイルの") + end + "まで検索しました。 " + "ファイルの" + other + "から検索を続行しますか？";
}

std::size_t findInTitle(std::string_view title, std::string_view text)
{
    return findWith(title, SearchPattern(text, kTitleOptions));
}

std::string searchTextFromSelection(std::string_view selectedText)
{
    return std::string(cutToBytes(selectedText, kSelectionSearchTextBytes));
}

void pushHistory(std::vector<std::string>& history, std::string_view text)
{
    if (text.empty())
        return;
    const auto same = std::find(history.begin(), history.end(), text);
    if (same != history.end())
        history.erase(same);
    history.insert(history.begin(), std::string(text));
}

} // namespace notarium
