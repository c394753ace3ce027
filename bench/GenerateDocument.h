#pragma once

#include <cstddef>
#include <cstdint>

namespace notarium {

class Document;

struct GenerateOptions {
    std::size_t userNodes = 100'000;
    // The approximate size of the data file the document writes to, in bytes.
    std::uint64_t targetBytes = 50'000'000;
    std::uint64_t seed = 1;
    // Deepest user-node level (the two top-level nodes are level 0).
    int maxLevel = 12;
};

struct GenerateStats {
    std::size_t userNodes = 0;
    int deepestLevel = 0;
    std::size_t expandedNodes = 0;
    std::size_t bookmarks = 0;
    std::size_t emptyBodies = 0;
    std::uint64_t bodyBytes = 0;
    std::uint64_t largestBody = 0;
    // The absolute index to save as the current node.
    int currentIndex = 1;
};

// Fills doc (emptied first) with a large outline of CP932 Japanese titles and bodies, for
// benchmarks and stress runs. The same options always give the same document, on every platform
// and standard library, so a measured file can be rebuilt byte for byte.
GenerateStats generateDocument(Document& doc, const GenerateOptions& options);

} // namespace notarium
