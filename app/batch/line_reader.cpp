#include "line_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tremira::batch {

LineReader::LineReader(ReadBlock read, std::size_t blockSize)
    : m_read(std::move(read)), m_buffer(std::max<std::size_t>(blockSize, 1)) {}

std::optional<std::string_view> LineReader::next() {
    for (;;) {
        const char *start = m_buffer.data() + m_begin;
        const auto *newline = static_cast<const char *>(std::memchr(start, '\n', m_end - m_begin));
        if (newline != nullptr) {
            const auto length = static_cast<std::size_t>(newline - start);
            m_begin += length + 1;
            return std::string_view(start, length);
        }
        if (m_atEnd) {
            if (m_begin == m_end) return std::nullopt;
            const std::string_view last(start, m_end - m_begin);
            m_begin = m_end;
            return last;
        }
        if (!refill()) m_atEnd = true;
    }
}

// Keeps the unfinished line, moved to the front, and reads behind it; a line longer than
// the buffer doubles it.
bool LineReader::refill() {
    const std::size_t pending = m_end - m_begin;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, pending);
        m_begin = 0;
        m_end = pending;
    }
    if (m_end == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
    const std::ptrdiff_t count = m_read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (count < 0) m_failed = true;
    if (count <= 0) return false;
    m_end += static_cast<std::size_t>(count);
    return true;
}

}  // namespace tremira::batch
