// search-bench: times the whole-document search of the search-and-replace list on one data file,
// for a text that does not occur and for a frequent one, with and without ignore width, and the
// replacement of every hit of the frequent one. The options are otherwise the list's defaults
// (line breaks and spaces skipped, case folded).
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/search/SeekCollector.h"
#include "core/search/SeekReplace.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace notarium {
namespace {

using Clock = std::chrono::steady_clock;

int run(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: search-bench FILE\n");
        return 2;
    }
    Document doc;
    if (!readDataFile(argv[1], doc).ok()) {
        std::fprintf(stderr, "search-bench: cannot read %s\n", argv[1]);
        return 1;
    }
    std::uint64_t bodyBytes = 0;
    for (const Node* node : doc.nodesInOrder())
        if (node->data())
            bodyBytes += node->data()->MemoStr.size();
    std::printf("file %s: %zu nodes, %.1f MB of body text; best of 5 runs\n\n", argv[1], doc.nodeCount(),
        static_cast<double>(bodyBytes) / 1e6);
    std::printf("%-34s %-13s %10s %10s %9s\n", "search text", "ignore width", "hits", "best ms", "MB/s");

    const struct {
        const char* label;
        std::string text;
    } texts[] = {
        { "absent, ASCII", "notarium-absent" },
        { "absent, Japanese", cp932::fromUtf8("検索しない語") },
        { "frequent, Japanese (memo)", cp932::fromUtf8("メモ") },
        { "frequent, ASCII (test)", "test" },
    };
    const SearchOptions defaults = SearchOption::SkipLineBreaks | SearchOption::SkipSpaces;
    for (const auto& text : texts) {
        for (const bool ignoreWidth : { false, true }) {
            const SeekCollector collector(text.text, defaults.with(SearchOption::IgnoreWidth, ignoreWidth));
            double best = 0;
            std::size_t hits = 0;
            for (int run = 0; run < 5; ++run) {
                const auto start = Clock::now();
                hits = collector.collectDocument(doc).size();
                const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                best = run == 0 ? ms : std::min(best, ms);
            }
            std::printf("%-34s %-13s %10zu %10.1f %9.0f\n", text.label, ignoreWidth ? "yes" : "no", hits,
                best, static_cast<double>(bodyBytes) / 1e6 / (best / 1000.0));
        }
    }

    // Replacing every hit of the frequent word by itself leaves the document as it was, so each run
    // checks every hit and rebuilds every text that holds one, as a real replacement does.
    const std::string memo = cp932::fromUtf8("メモ");
    const std::vector<SeekHit> hits = SeekCollector(memo, defaults).collectDocument(doc);
    double best = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        replaceAllHits(doc, hits, memo);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        best = run == 0 ? ms : std::min(best, ms);
    }
    std::printf("\n%-34s %-13s %10zu %10.1f\n", "replace all (memo by memo)", "no", hits.size(), best);
    return 0;
}

} // namespace
} // namespace notarium

int main(int argc, char** argv)
{
    return notarium::run(argc, argv);
}
