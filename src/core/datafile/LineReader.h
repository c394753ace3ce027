#pragma once

#include "core/datafile/PageText.h"
#include "core/io/ByteScan.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace notarium {

// The bytes of a data file or a tree template that its reader sees: a 1Ah byte ends the file.
inline std::string_view beforeEndOfFile(std::string_view bytes)
{
    return bytes.substr(0, bytes.find(page_text::kEndOfFile));
}

// Reads a data file or a tree template line by line: a line ends at CR (an LF right after it
// belongs to the same line end) or at a lone LF; a 1Ah byte ends the file. The bytes come from
// memory or are streamed from a file through a buffer, so a large document is never held twice.
//
// A node's body is taken from the buffer in long runs rather than line by line: while a capture
// is open, the bytes from the capture start onwards belong to it and are handed over when the
// buffer moves on.
class LineReader {
public:
    // text as beforeEndOfFile gives it.
    explicit LineReader(std::string_view text)
        : m_viewStart(text.data())
        , m_pos(text.data())
        , m_end(text.data() + text.size())
        , m_sourceDone(true)
    {
    }

    // Streams the open file fd, which stays the caller's.
    LineReader(int fd, std::size_t bufferSize);

    // The bytes delivered so far, for progress.
    std::uint64_t offset() const { return m_discarded + static_cast<std::uint64_t>(m_pos - bufferStart()); }
    // A read error of the underlying file (errno), 0 when none.
    int readError() const { return m_readError; }
    // The bytes read from the file so far, a 1Ah byte and what follows it included: a file of
    // nothing but that byte holds data, unlike an empty one.
    std::uint64_t sourceBytes() const { return m_sourceBytes; }

    bool atEnd() { return m_pos >= m_end && !refill(); }

    // Body text is most of a data file, and nearly all of its lines need nothing but to be kept:
    // from a line start, moves past every complete line that ends with CR LF and does not begin
    // with '}', stopping at the start of the first line that needs a closer look (one beginning
    // with '}', one ending otherwise than with CR LF, one the buffer does not hold completely).
    void skipPlainLines()
    {
        const char* p = m_pos;
        const char* const end = m_end;
        if (p >= end || *p == '}')
            return;
        // The position just past the last CR LF known to end a plain line.
        const char* lineStart = p;
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i brace = _mm_set1_epi8('}');
        while (end - p >= 18) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i next2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
            // Bit i: p[i] is CR; p[i + 1] is LF; p[i + 2] is '}'.
            const unsigned crAt = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, cr)));
            const unsigned lfAfter = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(next1, lf)));
            const unsigned braceAfter
                = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(next2, brace)));
            // Equal masks: every CR has its LF right after it and every LF (from p + 1 on) its
            // CR right before it. An LF at p itself was checked with the block before, except
            // in the first block, where it would end an empty line with a lone LF.
            if (crAt != lfAfter || (crAt & braceAfter) != 0 || (p == m_pos && *p == '\n'))
                break;
            if (crAt != 0)
                lineStart = p + (31 - __builtin_clz(crAt)) + 2;
            p += 16;
        }
#endif
        // The rest, and a block with something to look at, byte by byte.
        for (; p + 1 < end; ++p) {
            if (*p == '\n')
                break;
            if (*p == '\r') {
                if (p[1] != '\n')
                    break;
                lineStart = p + 2;
                if (lineStart >= end || *lineStart == '}')
                    break;
                ++p;
            }
        }
        m_pos = lineStart;
    }

    // Reading past the end gives an empty line, as a text file does. The line stays valid until
    // the next call that reads.
    std::string_view next()
    {
        m_lastEndWasCrLf = false;
        for (;;) {
            m_lineStart = m_pos;
            const char* lineEnd = findLineBreak(m_pos, m_end);
            // A line cut by the end of the buffer, or a CR that may have its LF in the next chunk.
            const bool incomplete = lineEnd == m_end || (*lineEnd == '\r' && lineEnd + 1 == m_end);
            if (incomplete && !m_sourceDone) {
                refill();
                continue;
            }
            std::string_view line(m_pos, static_cast<std::size_t>(lineEnd - m_pos));
            m_pos = lineEnd;
            if (m_pos < m_end) {
                if (*m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n') {
                    m_pos += 2;
                    m_lastEndWasCrLf = true;
                } else {
                    ++m_pos;
                }
            }
            return line;
        }
    }

    // Whether the line last read ended with CR LF (not a lone CR, a lone LF or the end of text).
    bool lastEndWasCrLf() const
    {
        return m_lastEndWasCrLf;
    }
    const char* lineStart() const
    {
        return m_lineStart;
    }
    const char* position() const
    {
        return m_pos;
    }

    void beginCapture(std::string* target)
    {
        m_capture = target;
        m_captureStart = m_pos;
    }
    // Hands the captured bytes up to upTo (a position in the current buffer) to the target.
    void flushCapture(const char* upTo)
    {
        if (m_capture && upTo > m_captureStart)
            m_capture->append(m_captureStart, static_cast<std::size_t>(upTo - m_captureStart));
        m_captureStart = upTo;
    }
    // The bytes up to upTo were handed over otherwise.
    void skipCaptureTo(const char* upTo)
    {
        m_captureStart = upTo;
    }
    void endCapture(const char* upTo)
    {
        flushCapture(upTo);
        m_capture = nullptr;
    }

private:
    const char* bufferStart() const
    {
        return m_buffer ? m_buffer.get() : m_viewStart;
    }

    // Moves the unread bytes to the front of the buffer and reads more behind them.
    bool refill();

    const char* m_viewStart = nullptr;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    const char* m_lineStart = nullptr;
    int m_fd = -1;
    // Left uninitialised: the pages of a large buffer cost memory only once a read fills them,
    // so a small file does not pay for the whole buffer.
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_bufferSize = 0;
    bool m_sourceDone = false;
    int m_readError = 0;
    std::uint64_t m_sourceBytes = 0;
    std::uint64_t m_discarded = 0;
    bool m_lastEndWasCrLf = false;
    std::string* m_capture = nullptr;
    const char* m_captureStart = nullptr;
};

} // namespace notarium
