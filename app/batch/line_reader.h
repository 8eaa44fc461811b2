#pragma once
// Splits a byte stream into lines. It reads large blocks and hands out the lines where they
// lie in its buffer; a line over the cap is skipped, so that no input can make it hold more.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tremira::batch {

class LineReader {
public:
    // Fills the buffer with up to `size` bytes; returns the count, 0 at the end, -1 on error
    // with errno set.
    using ReadBlock = std::function<std::ptrdiff_t(char *data, std::size_t size)>;

    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;
    // Far above any design line; a longer line is skipped so that memory stays bounded.
    static constexpr std::size_t kDefaultMaxLineLength = std::size_t{1} << 20;

    explicit LineReader(ReadBlock read, std::size_t blockSize = kDefaultBlockSize,
                        std::size_t maxLineLength = kDefaultMaxLineLength);

    // The next line without its "\n"; valid until the following call. Nothing at the end
    // of the input or after a read error. A last line without "\n" is still a line. A line
    // longer than the cap comes back empty, with lineTooLong() set.
    std::optional<std::string_view> next();
    bool lineTooLong() const { return m_lineTooLong; }
    std::size_t maxLineLength() const { return m_maxLineLength; }
    bool failed() const { return m_error != 0; }
    int error() const { return m_error; }  // errno of the failed read

private:
    std::string_view take(std::size_t length);
    bool refill();

    ReadBlock m_read;
    std::vector<char> m_buffer;
    std::size_t m_maxLineLength;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    bool m_skipping = false;
    bool m_lineTooLong = false;
    int m_error = 0;
};

}  // namespace tremira::batch
