#include "line_reader.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

namespace tremira::batch {

LineReader::LineReader(ReadBlock read, std::size_t blockSize, std::size_t maxLineLength)
    : m_read(std::move(read)), m_buffer(std::max<std::size_t>(blockSize, 1)), m_maxLineLength(maxLineLength) {}

std::optional<std::string_view> LineReader::next() {
    for (;;) {
        const std::size_t newline = std::string_view(m_buffer.data() + m_begin, m_end - m_begin).find('\n');
        if (newline != std::string_view::npos) {
            const std::string_view line = take(newline);
            ++m_begin;
            return line;
        }
        // An unfinished line over the cap is dropped as it comes, in the buffer it already has.
        if (m_skipping || m_end - m_begin > m_maxLineLength) {
            m_skipping = true;
            m_begin = m_end = 0;
        }
        if (m_atEnd) {
            if (m_begin == m_end && !m_skipping) return std::nullopt;
            return take(m_end - m_begin);
        }
        if (!refill()) m_atEnd = true;
    }
}

// The line of `length` bytes at the front of the buffer, or an empty one when it is too long.
std::string_view LineReader::take(std::size_t length) {
    const std::string_view line(m_buffer.data() + m_begin, length);
    m_begin += length;
    m_lineTooLong = m_skipping || length > m_maxLineLength;
    m_skipping = false;
    return m_lineTooLong ? std::string_view() : line;
}

// Keeps the unfinished line, moved to the front, and reads behind it; a line longer than
// the buffer doubles it, up to the room for the longest line and its "\n".
bool LineReader::refill() {
    const std::size_t pending = m_end - m_begin;
    if (m_begin > 0) {
        std::copy(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_begin),
                  m_buffer.begin() + static_cast<std::ptrdiff_t>(m_end), m_buffer.begin());
        m_begin = 0;
        m_end = pending;
    }
    if (m_end == m_buffer.size()) m_buffer.resize(std::min(m_buffer.size() * 2, m_maxLineLength + 1));
    const std::ptrdiff_t count = m_read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (count < 0) m_error = errno != 0 ? errno : EIO;
    if (count <= 0) return false;
    m_end += static_cast<std::size_t>(count);
    return true;
}

}  // namespace tremira::batch
