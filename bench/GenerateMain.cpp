// notarium-gen: writes a large, deterministic data file for benchmarks and stress runs.
#include "GenerateDocument.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: notarium-gen OUT.nmd [--nodes N] [--bytes B] [--seed S] [--max-level L]\n"
        "  --nodes      user nodes (default 100000)\n"
        "  --bytes      approximate file size; K, M and G suffixes are powers of 1000\n"
        "               (default 50M)\n"
        "  --seed       random seed; the same options give the same file (default 1)\n"
        "  --max-level  deepest user-node level (default 12)\n");
    return 2;
}

bool parseNumber(std::string_view text, std::uint64_t& value)
{
    std::uint64_t scale = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'k':
        case 'K':
            scale = 1'000;
            break;
        case 'm':
        case 'M':
            scale = 1'000'000;
            break;
        case 'g':
        case 'G':
            scale = 1'000'000'000;
            break;
        default:
            break;
        }
        if (scale != 1)
            text.remove_suffix(1);
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    value *= scale;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace notarium;
    std::string out;
    GenerateOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::uint64_t value = 0;
        if (arg == "--nodes" || arg == "--bytes" || arg == "--seed" || arg == "--max-level") {
            if (i + 1 >= argc || !parseNumber(argv[i + 1], value))
                return usage();
            ++i;
            if (arg == "--nodes")
                options.userNodes = static_cast<std::size_t>(value);
            else if (arg == "--bytes")
                options.targetBytes = value;
            else if (arg == "--seed")
                options.seed = value;
            else
                options.maxLevel = static_cast<int>(value);
        } else if (arg.starts_with("-") || !out.empty()) {
            return usage();
        } else {
            out = arg;
        }
    }
    if (out.empty())
        return usage();

    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    Document doc;
    const GenerateStats stats = generateDocument(doc, options);
    const auto t1 = Clock::now();
    const WriteResult written = writeDataFile(out, doc, stats.currentIndex);
    const auto t2 = Clock::now();
    if (!written.ok) {
        std::fprintf(stderr, "notarium-gen: cannot write %s: %s\n", out.c_str(), written.errorText.c_str());
        return 1;
    }

    struct stat st { };
    ::stat(out.c_str(), &st);
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("%s: %lld bytes, %zu user nodes (deepest level %d, %zu expanded, %zu bookmarks, %zu empty "
                "bodies, largest body %llu bytes), seed %llu\n",
        out.c_str(), static_cast<long long>(st.st_size), stats.userNodes, stats.deepestLevel,
        stats.expandedNodes, stats.bookmarks, stats.emptyBodies,
        static_cast<unsigned long long>(stats.largestBody), static_cast<unsigned long long>(options.seed));
    std::printf("generated in %.0f ms, written in %.0f ms\n", ms(t1 - t0), ms(t2 - t1));
    if (!written.changedTitles.empty())
        std::printf("note: %zu nodes were written changed (end-marker lines, 1Ah bytes)\n",
            written.changedTitles.size());
    return 0;
}
