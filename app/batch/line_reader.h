#pragma once
// Splits a byte stream into lines, reading it in large blocks: the batch tool must read
// millions of short lines per second, so it never reads or copies one line at a time.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tremira::batch {

class LineReader {
public:
    // Fills the buffer with up to `size` bytes; returns the count, 0 at the end, -1 on error.
    using ReadBlock = std::function<std::ptrdiff_t(char *data, std::size_t size)>;

    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

    explicit LineReader(ReadBlock read, std::size_t blockSize = kDefaultBlockSize);

    // The next line without its "\n"; valid until the following call. Nothing at the end
    // of the input or after a read error. A last line without "\n" is still a line.
    std::optional<std::string_view> next();
    bool failed() const { return m_failed; }

private:
    bool refill();

    ReadBlock m_read;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

}  // namespace tremira::batch
