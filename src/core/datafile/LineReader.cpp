#include "core/datafile/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace notarium {

LineReader::LineReader(int fd, std::size_t bufferSize)
    : m_fd(fd)
    , m_buffer(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(bufferSize, 2)))
    , m_bufferSize(std::max<std::size_t>(bufferSize, 2))
{
    m_pos = m_end = m_buffer.get();
}

bool LineReader::refill()
{
    if (m_sourceDone)
        return false;
    if (m_capture)
        flushCapture(m_pos);
    char* base = m_buffer.get();
    const std::size_t keep = static_cast<std::size_t>(m_end - m_pos);
    m_discarded += static_cast<std::uint64_t>(m_pos - base);
    std::memmove(base, m_pos, keep);
    // A line longer than half the buffer makes it grow, so any line fits.
    if (keep > m_bufferSize / 2) {
        auto larger = std::make_unique_for_overwrite<char[]>(m_bufferSize * 2);
        std::memcpy(larger.get(), base, keep);
        m_buffer = std::move(larger);
        m_bufferSize *= 2;
        base = m_buffer.get();
    }
    m_pos = base;
    m_end = base + keep;
    m_captureStart = m_pos;
    m_lineStart = m_pos;
    const std::size_t room = m_bufferSize - keep;
    ssize_t n;
    do
        n = ::read(m_fd, base + keep, room);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0)
            m_readError = errno;
        m_sourceDone = true;
        return false;
    }
    const char* fresh = base + keep;
    m_sourceBytes += static_cast<std::uint64_t>(n);
    if (const void* eof = std::memchr(fresh, page_text::kEndOfFile, static_cast<std::size_t>(n))) {
        n = static_cast<const char*>(eof) - fresh;
        m_sourceDone = true;
    }
    m_end = fresh + n;
    return n > 0;
}

} // namespace notarium
