// export-bench: times the text export of a whole document, to memory and to a file, next to a
// plain copy of the data file's bytes, so the ratio says how the export compares with the
// cheapest way to write that much data on this machine.
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/io/FileIo.h"
#include "core/text/Cp932Codec.h"
#include "core/textio/TextExportWriter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace notarium {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "export-bench: %s\n", what.c_str());
    std::exit(1);
}

// Best wall time of kRuns runs, in milliseconds.
double bestOf(const std::function<void()>& step)
{
    double best = 0;
    for (int r = 0; r < kRuns; ++r) {
        const auto start = Clock::now();
        step();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        best = r == 0 ? ms : std::min(best, ms);
    }
    return best;
}

void plainWrite(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("write failed: " + std::string(std::strerror(errno)));
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// As cp does: create, write, close, no fsync.
void plainWrite(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot create " + path + ": " + std::strerror(errno));
    plainWrite(fd, bytes);
    ::close(fd);
}

void printRow(const char* step, double ms, double mb, double outMb, double base, const char* baseName)
{
    std::printf("%-44s %9.1f %9.0f %9.1f   %.2fx %s\n", step, ms, ms > 0 ? mb / (ms / 1000.0) : 0.0, outMb,
        base > 0 ? ms / base : 0.0, baseName);
}

int run(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: export-bench FILE\n");
        return 2;
    }
    const std::string path = argv[1];
    std::string bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error))
        fail("cannot read " + path + ": " + error);
    Document doc;
    if (!parseDataFile(bytes, doc).ok())
        fail(path + " is no readable data file");
    const double fileMb = static_cast<double>(bytes.size()) / 1e6;

    const std::string copyPath = path + ".export-bench.copy";
    const std::string textPath = path + ".export-bench.txt";

    const double plainCopyMs = bestOf([&] { plainWrite(copyPath, bytes); });
    const double atomicCopyMs = bestOf([&] {
        if (!copyFileAtomically(path, copyPath, &error))
            fail("copyFileAtomically failed: " + error);
    });

    std::printf("file %s: %.1f MB, %zu nodes; best of %d runs, warm page cache\n\n", path.c_str(), fileMb,
        doc.nodeCount(), kRuns);
    std::printf("%-44s %9s %9s %9s   %s\n", "step", "best ms", "MB/s in", "MB out", "ratio");
    printRow(
        "plain copy of the file (write, no fsync)", plainCopyMs, fileMb, fileMb, plainCopyMs, "plain copy");
    printRow("copyFileAtomically (fsync, rename)", atomicCopyMs, fileMb, fileMb, plainCopyMs, "plain copy");
    // The floor of a UTF-8 export: the codec over every byte of the file in one piece.
    std::size_t utf8Bytes = 0;
    const double codecMs = bestOf([&] { utf8Bytes = cp932::toDisplayUtf8(bytes).size(); });
    printRow("cp932::toDisplayUtf8 of the file's bytes", codecMs, fileMb,
        static_cast<double>(utf8Bytes) / 1e6, plainCopyMs, "plain copy");

    struct Setup {
        const char* name;
        bool decorated;
        TextEncoding encoding;
    };
    const Setup setups[] = {
        { "plain, CP932", false, TextEncoding::Cp932 },
        { "plain, UTF-8", false, TextEncoding::Utf8 },
        { "numbers+contents+empty line+pages, CP932", true, TextEncoding::Cp932 },
        { "numbers+contents+empty line+pages, UTF-8", true, TextEncoding::Utf8 },
    };
    for (const Setup& setup : setups) {
        TextExportOptions options;
        options.encoding = setup.encoding;
        if (setup.decorated) {
            options.marking = TitleMarking::OutlineNumbers;
            options.makeContents = true;
            options.emptyLine = true;
            options.newPage = true;
        }
        TextExportWriter writer(doc, options, ExportScope::WholeFile);
        // The window's progress bar is set once per node; count the calls as it would.
        int lastPosition = 0;
        writer.setProgress([&](int position, int) { lastPosition = position; });
        std::size_t outBytes = 0;
        const double memoryMs = bestOf([&] { outBytes = writer.toString().size(); });
        const double fileMs = bestOf([&] {
            if (!writer.writeFile(textPath, &error))
                fail("export failed: " + error);
        });
        // Like for like with the plain copy: the same text written to a file without fsync.
        const double plainFileMs = bestOf([&] {
            const int fd = ::open(textPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0)
                fail("cannot create " + textPath);
            writer.write([fd](std::string_view piece) {
                plainWrite(fd, piece);
                return true;
            });
            ::close(fd);
        });
        const double outMb = static_cast<double>(outBytes) / 1e6;
        std::printf("%s\n", setup.name);
        printRow("  export to memory", memoryMs, fileMb, outMb, plainCopyMs, "plain copy");
        printRow("  export to file, no fsync", plainFileMs, fileMb, outMb, plainCopyMs, "plain copy");
        printRow("  export to file (AtomicFileWriter)", fileMs, fileMb, outMb, plainCopyMs, "plain copy");
        printRow(
            "  export to file, against the atomic copy", fileMs, fileMb, outMb, atomicCopyMs, "atomic copy");
        if (lastPosition != writer.progressMaximum())
            fail("progress did not reach its maximum");
    }
    ::unlink(copyPath.c_str());
    ::unlink(textPath.c_str());
    return 0;
}

} // namespace
} // namespace notarium

int main(int argc, char** argv)
{
    return notarium::run(argc, argv);
}
