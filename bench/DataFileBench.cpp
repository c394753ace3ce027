// datafile-bench: times reading and writing one data file in-process and compares each step with
// plain file I/O of the same bytes, so a regression shows as a ratio that does not depend on the
// machine's disk. Memory peaks come from child processes so that each starts from a small heap.
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/io/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace notarium {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Timing {
    std::vector<double> ms;

    double best() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
    double median() const
    {
        if (ms.empty())
            return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "datafile-bench: %s\n", what.c_str());
    std::exit(1);
}

// Reads the file the way cat does, but into one buffer of the file's size, as a reader that holds
// the whole image would. Returns a byte of the data so the reads cannot be optimised away.
unsigned char rawRead(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open " + path + ": " + std::strerror(errno));
    struct stat st { };
    ::fstat(fd, &st);
    const auto size = static_cast<std::size_t>(st.st_size);
    // Uninitialised on purpose: zero-filling would add a pass over the memory that cat never makes.
    std::unique_ptr<char[]> buffer(new char[size + 1]);
    std::size_t used = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get() + used, size + 1 - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("read failed: " + std::string(std::strerror(errno)));
        if (n == 0 || (used += static_cast<std::size_t>(n)) > size)
            break;
    }
    ::close(fd);
    return used > 0 ? static_cast<unsigned char>(buffer[used / 2]) : 0;
}

// Reads the file exactly as cat does: one reused 128 KiB buffer, nothing kept.
unsigned char chunkedRead(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open " + path + ": " + std::strerror(errno));
    static char buffer[128 * 1024];
    unsigned char last = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("read failed: " + std::string(std::strerror(errno)));
        if (n == 0)
            break;
        last = static_cast<unsigned char>(buffer[n - 1]);
    }
    ::close(fd);
    return last;
}

// Writes bytes to a new file as cp does: create, write, close, no fsync unless asked.
void rawWrite(const std::string& path, std::string_view bytes, bool sync)
{
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot create " + path + ": " + std::strerror(errno));
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("write failed: " + std::string(std::strerror(errno)));
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (sync && ::fsync(fd) != 0)
        fail("fsync failed: " + std::string(std::strerror(errno)));
    ::close(fd);
}

// Runs job in a child process and returns the child's peak resident set in KiB (-1 on failure).
// The child starts as a copy of this process, so callers measure a do-nothing child as well and
// report the difference.
long peakRssOfChild(const std::function<bool()>& job)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0)
        ::_exit(job() ? 0 : 1);
    int status = 0;
    struct rusage usage { };
    while (::wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR)
            return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss; // KiB on Linux
}

void printRow(const char* step, const Timing& t, double fileMb, const std::string& ratio)
{
    const double best = t.best();
    std::printf("%-38s %10.1f %10.1f %9.0f   %s\n", step, best, t.median(),
        best > 0 ? fileMb / (best / 1000.0) : 0.0, ratio.c_str());
}

std::string ratioText(double value, double base, const char* baseName)
{
    if (base <= 0)
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "%.2fx %s", value / base, baseName);
    return text;
}

int run(int argc, char** argv)
{
    std::string path;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), runs);
            if (ec != std::errc() || end != value.data() + value.size() || runs < 1)
                fail("--runs needs a positive number");
        } else if (arg.starts_with("-") || !path.empty()) {
            std::fprintf(stderr, "usage: datafile-bench FILE [--runs N]\n");
            return 2;
        } else {
            path = arg;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: datafile-bench FILE [--runs N]\n");
        return 2;
    }

    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        fail("cannot stat " + path + ": " + std::strerror(errno));
    const double fileBytes = static_cast<double>(st.st_size);
    const double fileMb = fileBytes / 1e6;

    // Memory first, while this process is still small: the children copy its resident set.
    const long baselineKb = peakRssOfChild([] { return true; });
    const long readKb = peakRssOfChild([&] {
        Document doc;
        return readDataFile(path, doc).ok();
    });
    const long readWriteKb = peakRssOfChild([&] {
        Document doc;
        const ReadResult result = readDataFile(path, doc);
        const std::string out = serializeDataFile(doc, result.savedCurrentIndex);
        return result.ok() && !out.empty();
    });

    std::string bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error))
        fail("cannot read " + path + ": " + error);

    // One read up front: it fails early on a bad file and warms the page cache for every step.
    auto doc = std::make_unique<Document>();
    const ReadResult first = readDataFile(path, *doc);
    if (!first.ok())
        fail("readDataFile failed on " + path + " (status " + std::to_string(static_cast<int>(first.status))
            + ")");
    const std::size_t nodes = doc->nodeCount();
    // The open rules give the nodes their stored expanded states, so a file the program wrote
    // serializes back to the same bytes.
    applyOpenRules(*doc, first, true, true);
    const std::string again = serializeDataFile(*doc, first.savedCurrentIndex);
    std::string roundTrip = "identical";
    if (again != bytes) {
        const auto diff = std::mismatch(again.begin(), again.end(), bytes.begin(), bytes.end());
        roundTrip = "DIFFERS at byte " + std::to_string(diff.first - again.begin()) + " (written "
            + std::to_string(again.size()) + " bytes, file " + std::to_string(bytes.size()) + ")";
    }

    const std::string copyPath = path + ".bench-copy";
    const std::string savePath = path + ".bench-save.nmd";
    unsigned sink = 0;

    Timing chunkReadT, rawReadT, readT, parseT, destroyT, rawWriteT, rawWriteSyncT, serializeT,
        serializeWriteT, atomicT, saveT;
    for (int r = 0; r < runs; ++r) {
        auto t = Clock::now();
        sink += chunkedRead(path);
        chunkReadT.ms.push_back(msSince(t));

        t = Clock::now();
        sink += rawRead(path);
        rawReadT.ms.push_back(msSince(t));

        auto fresh = std::make_unique<Document>();
        t = Clock::now();
        if (!readDataFile(path, *fresh).ok())
            fail("readDataFile failed");
        readT.ms.push_back(msSince(t));
        t = Clock::now();
        fresh.reset();
        destroyT.ms.push_back(msSince(t));

        fresh = std::make_unique<Document>();
        t = Clock::now();
        if (!parseDataFile(bytes, *fresh).ok())
            fail("parseDataFile failed");
        parseT.ms.push_back(msSince(t));
        fresh.reset();

        t = Clock::now();
        rawWrite(copyPath, bytes, false);
        rawWriteT.ms.push_back(msSince(t));

        t = Clock::now();
        rawWrite(copyPath, bytes, true);
        rawWriteSyncT.ms.push_back(msSince(t));

        t = Clock::now();
        std::string serialized = serializeDataFile(*doc, first.savedCurrentIndex);
        serializeT.ms.push_back(msSince(t));
        sink += static_cast<unsigned>(serialized.size());

        t = Clock::now();
        rawWrite(copyPath, serializeDataFile(*doc, first.savedCurrentIndex), false);
        serializeWriteT.ms.push_back(msSince(t));

        t = Clock::now();
        std::string atomicError;
        if (!writeFileAtomically(savePath, bytes, &atomicError))
            fail("writeFileAtomically failed: " + atomicError);
        atomicT.ms.push_back(msSince(t));

        t = Clock::now();
        const WriteResult saved = writeDataFile(savePath, *doc, first.savedCurrentIndex);
        saveT.ms.push_back(msSince(t));
        if (!saved.ok)
            fail("writeDataFile failed: " + saved.errorText);
    }
    ::unlink(copyPath.c_str());
    ::unlink(savePath.c_str());

    std::printf(
        "file %s: %.0f bytes, %zu nodes; %d runs, warm page cache\n", path.c_str(), fileBytes, nodes, runs);
    std::printf("round trip (read, open rules, serialize): %s\n\n", roundTrip.c_str());
    std::printf("%-38s %10s %10s %9s   %s\n", "step", "best ms", "median ms", "MB/s", "ratio (best)");
    const double rawReadMs = rawReadT.best();
    const double rawWriteMs = rawWriteT.best();
    const double rawWriteSyncMs = rawWriteSyncT.best();
    printRow("raw read, 128 KiB chunks (cat)", chunkReadT, fileMb, "");
    printRow("raw read into one buffer", rawReadT, fileMb, ratioText(rawReadMs, chunkReadT.best(), "cat"));
    printRow(
        "readDataFile (file -> Document)", readT, fileMb, ratioText(readT.best(), rawReadMs, "raw read"));
    printRow("  parseDataFile (memory -> Document)", parseT, fileMb,
        ratioText(parseT.best(), rawReadMs, "raw read"));
    printRow("  ~Document (destroy)", destroyT, fileMb, ratioText(destroyT.best(), rawReadMs, "raw read"));
    printRow("raw write, no fsync (cp)", rawWriteT, fileMb, "");
    printRow("raw write + fsync", rawWriteSyncT, fileMb, ratioText(rawWriteSyncMs, rawWriteMs, "raw write"));
    printRow("serializeDataFile (memory)", serializeT, fileMb,
        ratioText(serializeT.best(), rawWriteMs, "raw write"));
    printRow("serialize + write, no fsync", serializeWriteT, fileMb,
        ratioText(serializeWriteT.best(), rawWriteMs, "raw write"));
    printRow("writeFileAtomically (raw bytes)", atomicT, fileMb,
        ratioText(atomicT.best(), rawWriteSyncMs, "raw write + fsync"));
    printRow("writeDataFile (atomic, fsync)", saveT, fileMb,
        ratioText(saveT.best(), rawWriteSyncMs, "raw write + fsync") + ", "
            + ratioText(saveT.best(), rawWriteMs, "raw write"));

    std::printf(
        "\n%-38s %10s %10s %9s\n", "peak memory (child process)", "max RSS KB", "- base KB", "x file");
    const auto memoryRow = [&](const char* step, long kb) {
        if (kb < 0) {
            std::printf("%-38s %10s\n", step, "failed");
            return;
        }
        const long extra = kb - baselineKb;
        std::printf(
            "%-38s %10ld %10ld %9.2f\n", step, kb, extra, static_cast<double>(extra) * 1024.0 / fileBytes);
    };
    memoryRow("baseline (fork, nothing)", baselineKb);
    memoryRow("readDataFile", readKb);
    memoryRow("readDataFile + serializeDataFile", readWriteKb);
    return sink == 0xFFFFFFFFu ? 3 : 0; // the sink only keeps the reads alive
}

} // namespace
} // namespace notarium

int main(int argc, char** argv)
{
    return notarium::run(argc, argv);
}
