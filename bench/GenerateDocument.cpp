#include "GenerateDocument.h"

#include "core/document/Document.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

namespace {

// Words as CP932 byte strings, so that the generator needs no codec: hiragana, katakana and kanji
// words, several of them with trail bytes that are ASCII punctuation (0x5C '\', 0x40 '@', 0x7B '{',
// 0x7D '}', 0x5B '['), which a byte-wise reader must not mistake for ASCII.
constexpr std::string_view kJapaneseWords[] = {
    "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8",             // あいうえお
    "\x82\xA0\x82\xE8\x82\xAA\x82\xC6\x82\xA4",             // ありがとう
    "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD",             // こんにちは
    "\x82\xAB\x82\xE5\x82\xA4\x82\xCD",                     // きょうは
    "\x82\xBD\x82\xCC\x82\xB5\x82\xA2",                     // たのしい
    "\x82\xC5\x82\xB7\x82\xDC\x82\xB7",                     // ですます
    "\x82\xBB\x82\xEA\x82\xA9\x82\xE7",                     // それから
    "\x82\xC6\x82\xB1\x82\xEB\x82\xC5",                     // ところで
    "\x82\xC9\x82\xC2\x82\xA2\x82\xC4",                     // について
    "\x82\xD0\x82\xE7\x82\xAA\x82\xC8",                     // ひらがな
    "\x83\x4A\x83\x5E\x83\x4A\x83\x69",                     // カタカナ
    "\x83\x6D\x81\x5B\x83\x67",                             // ノート
    "\x83\x81\x83\x82",                                     // メモ
    "\x83\x41\x83\x45\x83\x67\x83\x89\x83\x43\x83\x93",     // アウトライン
    "\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41",     // ソフトウェア
    "\x83\x66\x81\x5B\x83\x5E",                             // データ
    "\x83\x74\x83\x40\x83\x43\x83\x8B",                     // ファイル
    "\x83\x63\x83\x8A\x81\x5B",                             // ツリー
    "\x83\x65\x83\x93\x83\x76\x83\x8C\x81\x5B\x83\x67",     // テンプレート
    "\x83\x75\x83\x62\x83\x4E\x83\x7D\x81\x5B\x83\x4E",     // ブックマーク
    "\x83\x4C\x81\x5B\x83\x7B\x81\x5B\x83\x68",             // キーボード
    "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45",             // ウィンドウ
    "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80",             // プログラム
    "\x83\x54\x81\x5B\x83\x6F\x81\x5B",                     // サーバー
    "\x95\x5C\x8E\xA6",                                     // 表示
    "\x94\x5C\x97\xCD",                                     // 能力
    "\x97\x5C\x92\xE8",                                     // 予定
    "\x93\xFA\x96\x7B\x8C\xEA",                             // 日本語
    "\x95\xB6\x8F\xCD",                                     // 文章
    "\x89\xEF\x8B\x63",                                     // 会議
    "\x8B\x63\x8E\x96\x98\x5E",                             // 議事録
    "\x93\x8C\x8B\x9E",                                     // 東京
    "\x91\xE5\x8D\xE3",                                     // 大阪
    "\x8B\x9E\x93\x73",                                     // 京都
    "\x96\x6B\x8A\x43\x93\xB9",                             // 北海道
    "\x93\x56\x8B\x43",                                     // 天気
    "\x97\x5C\x95\xF1",                                     // 予報
    "\x8C\xA4\x8B\x86",                                     // 研究
    "\x8A\x4A\x94\xAD",                                     // 開発
    "\x8E\x64\x97\x6C",                                     // 仕様
    "\x90\xDD\x8C\x76",                                     // 設計
    "\x8E\x8E\x8C\xB1",                                     // 試験
    "\x8A\x6D\x94\x46",                                     // 確認
    "\x8D\xEC\x8B\xC6",                                     // 作業
    "\x95\xF1\x8D\x90",                                     // 報告
    "\x8E\x91\x97\xBF",                                     // 資料
    "\x90\xAE\x97\x9D",                                     // 整理
    "\x8C\x9F\x8D\xF5",                                     // 検索
    "\x92\x75\x8A\xB7",                                     // 置換
    "\x95\xDB\x91\xB6",                                     // 保存
    "\x88\xF3\x8D\xFC",                                     // 印刷
    "\x95\xCF\x8A\xB7",                                     // 変換
    "\x8A\xBF\x8E\x9A",                                     // 漢字
    "\x8E\x9E\x8A\xD4",                                     // 時間
    "\x8D\xA1\x93\xFA",                                     // 今日
    "\x96\xBE\x93\xFA",                                     // 明日
    "\x8D\xF0\x93\xFA",                                     // 昨日
    "\x8D\x5C\x90\xAC",                                     // 構成
    "\x92\x69\x97\x8E",                                     // 段落
    "\x8C\xA9\x8F\x6F\x82\xB5",                             // 見出し
    "\x83\x5C\x81\x5B\x83\x58",                             // ソース
    "\x90\x5C\x90\xBF",                                     // 申請
    "\x8F\x5C\x93\xFA",                                     // 十日
    "\x8B\x40\x94\x5C",                                     // 機能
    "\x95\x5D\x89\xBF",                                     // 評価
};

// Particles that join the words into sentence-like runs.
constexpr std::string_view kParticles[] = {
    "\x82\xCD", "\x82\xAA", "\x82\xF0", "\x82\xC9", "\x82\xCC", "\x82\xC6", "\x82\xC5", "\x82\xE0",
}; // は が を に の と で も

// Single-byte half-width katakana (0xA1-0xDF): non-ASCII bytes that are not lead bytes.
constexpr std::string_view kHalfWidthWords[] = {
    "\xB6\xC0\xB6\xC5",     // ｶﾀｶﾅ
    "\xC3\xDE\xB0\xC0",     // ﾃﾞｰﾀ
    "\xD2\xD3",             // ﾒﾓ
};

constexpr std::string_view kAsciiWords[] = {
    "TODO", "meeting", "notes", "version", "release", "build", "test", "draft",
    "http://example.com/path?q=1", "C:\\Users\\memo\\file.txt", "a+b=c", "(see above)",
    "#include", "x86_64", "2024-01-31", "[done]",
};

// Body lines that look like the format's own markers but are ordinary text, because none of them
// starts with the end marker: a reader must keep them as body lines.
constexpr std::string_view kMarkerLikeLines[] = {
    "::Page::", "begin{{", " }}end", "text }}end", "nil", "TRUE", "::Bookmarks::",
};

constexpr std::string_view kIdeographicSpace = "\x81\x40"; // full-width space
constexpr std::string_view kComma = "\x81\x41";            // 、
constexpr std::string_view kFullStop = "\x81\x42";         // 。
constexpr std::string_view kOpenQuote = "\x81\x75";        // 「
constexpr std::string_view kCloseQuote = "\x81\x76";       // 」
constexpr std::string_view kBullet = "\x81\x45";           // ・
constexpr std::string_view kCrLf = "\r\n";

// mt19937_64's output sequence is fixed by the C++ standard, whereas the standard distributions
// are not; the small helpers below keep the generated bytes the same on every library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}

    // 0 .. n-1 (0 when n is 0); the modulo bias is irrelevant for these small ranges.
    std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : m_engine() % n; }
    std::uint64_t between(std::uint64_t lo, std::uint64_t hi) { return lo + below(hi - lo + 1); }
    bool percent(unsigned p) { return below(100) < p; }
    template <std::size_t N> std::string_view pick(const std::string_view (&items)[N]) { return items[below(std::size(items))]; }

private:
    std::mt19937_64 m_engine;
};

std::size_t decimalDigits(long long value)
{
    return std::to_string(value).size();
}

void appendJapaneseRun(Random& rng, std::string& out, std::size_t targetBytes)
{
    const std::size_t start = out.size();
    while (out.size() - start < targetBytes) {
        const auto r = rng.below(100);
        if (r < 70) {
            out += rng.pick(kJapaneseWords);
            if (rng.percent(50))
                out += rng.pick(kParticles);
        } else if (r < 78) {
            out += kComma;
        } else if (r < 84) {
            out += kFullStop;
        } else if (r < 88) {
            out += kOpenQuote;
            out += rng.pick(kJapaneseWords);
            out += kCloseQuote;
        } else if (r < 93) {
            out += std::to_string(rng.below(10'000));
        } else if (r < 97) {
            out += rng.pick(kAsciiWords);
        } else {
            out += rng.pick(kHalfWidthWords);
        }
    }
}

void appendAsciiRun(Random& rng, std::string& out, std::size_t targetBytes)
{
    const std::size_t start = out.size();
    while (out.size() - start < targetBytes) {
        out += rng.pick(kAsciiWords);
        out += rng.percent(15) ? "\t" : " ";
    }
}

// One body line without its line break.
void appendLine(Random& rng, std::string& out, std::size_t targetBytes)
{
    const auto style = rng.below(1000);
    if (style < 60)
        return; // empty line
    if (style < 160) {
        // Indented paragraph, as Japanese text is written.
        for (auto n = rng.between(1, 2); n > 0; --n)
            out += kIdeographicSpace;
        appendJapaneseRun(rng, out, targetBytes);
    } else if (style < 280) {
        appendAsciiRun(rng, out, targetBytes);
    } else if (style < 320) {
        out += kBullet;
        appendJapaneseRun(rng, out, targetBytes);
    } else if (style < 330) {
        out += rng.pick(kMarkerLikeLines);
    } else {
        appendJapaneseRun(rng, out, targetBytes);
    }
}

// A body of about targetBytes bytes, every line ended by CR LF (the form the reader gives back, so
// that a read document writes the same bytes again).
std::string makeBody(Random& rng, std::size_t targetBytes)
{
    std::string body;
    if (targetBytes == 0)
        return body;
    body.reserve(targetBytes + 256);
    while (body.size() < targetBytes) {
        const std::size_t left = targetBytes - body.size();
        // Mostly editor-sized lines; now and then one very long line without a break.
        std::size_t lineBytes = rng.percent(2) ? rng.between(1'000, 4'000) : rng.between(10, 120);
        lineBytes = std::min(lineBytes, left);
        appendLine(rng, body, lineBytes);
        body += kCrLf;
    }
    return body;
}

std::string makeTitle(Random& rng, std::size_t serial)
{
    std::string title;
    const auto style = rng.below(100);
    if (style < 1)
        return title; // titles may be empty
    if (style < 5) {
        appendAsciiRun(rng, title, rng.between(5, 30));
        return title;
    }
    for (auto n = rng.between(1, 3); n > 0; --n) {
        title += rng.pick(kJapaneseWords);
        if (n > 1 && rng.percent(30))
            title += rng.percent(50) ? kIdeographicSpace : rng.pick(kParticles);
    }
    if (rng.percent(20)) {
        title += ' ';
        title += std::to_string(serial);
    }
    return title;
}

int pickKind(Random& rng)
{
    const auto r = rng.below(100);
    return r < 25 ? KindCategory : (r < 90 ? KindMemo : KindResult);
}

std::size_t pickBodySize(Random& rng, double mean, std::uint64_t bodyBudgetLeft)
{
    if (mean <= 0)
        return 0;
    const auto r = rng.below(10'000);
    if (r < 800)
        return 0; // 8 % empty bodies
    if (r < 801) {
        // One in ten thousand is a very large memo, bounded so small documents keep their size.
        const std::uint64_t huge = rng.between(100'000, 500'000);
        return static_cast<std::size_t>(std::min<std::uint64_t>(huge, bodyBudgetLeft / 4));
    }
    if (r < 1000) // 2 % long bodies, 10-30 times the mean
        return static_cast<std::size_t>(mean * static_cast<double>(rng.between(10, 30)));
    // The rest spread around the mean so that the whole averages out: 0.08*0 + 0.02*20 + 0.9*x = 1
    // gives x = 0.667, the middle of 0.1 .. 1.23.
    return static_cast<std::size_t>(mean * (0.1 + 1.13 * static_cast<double>(rng.below(1'001)) / 1'000.0));
}

} // namespace

GenerateStats generateDocument(Document& doc, const GenerateOptions& options)
{
    Random rng(options.seed);
    GenerateStats stats;
    doc.newDocument();
    Node* documentNode = doc.documentNode();
    Node* paperFolder = doc.paperFolderNode();
    doc.setExpanded(documentNode, true);
    doc.setExpanded(paperFolder, true);

    const int maxLevel = std::max(1, options.maxLevel);
    // The last node seen at each level: the parent of a node at level n is the entry n - 1.
    std::vector<Node*> lastAtLevel(static_cast<std::size_t>(maxLevel) + 1, nullptr);
    lastAtLevel[0] = documentNode;
    int level = 1;

    // Rough size of the header and the two top-level pages, so the budget below is about the file.
    std::uint64_t used = 200;
    // The last hundredth of the nodes goes to the paper folder, which holds user nodes too.
    const std::size_t paperStart = options.userNodes - options.userNodes / 100;

    for (std::size_t i = 0; i < options.userNodes; ++i) {
        if (i == paperStart && i > 0) {
            lastAtLevel[0] = paperFolder;
            level = 1;
        }
        std::string title = makeTitle(rng, i + 1);
        const int kind = pickKind(rng);
        // Everything of the page but the body: separator, header, level, title, two indexes,
        // expanded line, begin and end markers, each line with CR LF.
        const std::uint64_t overhead =
            2 + 10 + (decimalDigits(level) + 2) + (title.size() + 2) + 3 + 3 + 7 + 9 + 7;
        const std::uint64_t left = options.targetBytes > used ? options.targetBytes - used : 0;
        const std::uint64_t nodesLeft = options.userNodes - i;
        const double mean = static_cast<double>(left) / static_cast<double>(nodesLeft) - static_cast<double>(overhead);
        std::string body = makeBody(rng, pickBodySize(rng, mean, left));

        Node* node = doc.appendNode(lastAtLevel[static_cast<std::size_t>(level - 1)], std::move(title), kind);
        lastAtLevel[static_cast<std::size_t>(level)] = node;
        used += overhead + body.size();
        stats.bodyBytes += body.size();
        stats.largestBody = std::max<std::uint64_t>(stats.largestBody, body.size());
        if (body.empty())
            ++stats.emptyBodies;
        node->data()->MemoStr = std::move(body);
        stats.deepestLevel = std::max(stats.deepestLevel, level);

        // A random walk over the levels: stay, go one deeper, climb a few levels, or now and
        // then return to the top.
        const auto step = rng.below(100);
        if (step >= 45 && step < 78)
            level = std::min(level + 1, maxLevel);
        else if (step >= 78 && step < 95)
            level = std::max(1, level - static_cast<int>(rng.between(1, 3)));
        else if (step >= 95)
            level = 1;
    }
    stats.userNodes = options.userNodes;

    // Expanded states are set once the shape is known: about a third of the nodes with children.
    // TrOpen mirrors the view state, as it does after the program stored the tree state.
    const std::vector<Node*> order = doc.nodesInOrder();
    std::vector<int> userIndexes;
    userIndexes.reserve(order.size());
    for (std::size_t index = 0; index < order.size(); ++index) {
        Node* node = order[index];
        if (!node->isUserNode())
            continue;
        userIndexes.push_back(static_cast<int>(index));
        const bool expanded = node->hasChildren() && rng.percent(35);
        doc.setExpanded(node, expanded);
        node->data()->TrOpen = expanded;
        if (expanded)
            ++stats.expandedNodes;
    }

    if (options.userNodes > 0) {
        // A few bookmarks in distinct slots; the other slots stay empty.
        std::array<int, kBookmarkSlotCount> slots {};
        for (int s = 0; s < kBookmarkSlotCount; ++s)
            slots[static_cast<std::size_t>(s)] = s;
        for (std::size_t s = slots.size() - 1; s > 0; --s)
            std::swap(slots[s], slots[rng.below(s + 1)]);
        stats.bookmarks = std::min<std::size_t>(4, options.userNodes);
        for (std::size_t b = 0; b < stats.bookmarks; ++b)
            doc.setBookmark(slots[b], order[static_cast<std::size_t>(userIndexes[rng.below(userIndexes.size())])]);
        stats.currentIndex = userIndexes[rng.below(userIndexes.size())];
    }
    doc.setModified(true);
    return stats;
}

} // namespace notarium
