#include "utf8_validation.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tremira::batch {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0U) == 0x80U; }

// Eight ASCII bytes at a time: most design lines are digits, commas and ";".
bool nextEightAreAscii(const unsigned char *p) {
    std::uint64_t block;
    std::memcpy(&block, p, sizeof block);
    return (block & 0x8080808080808080ULL) == 0;
}

// Length of the sequence starting at text[i] (0 when it is not well formed). The second
// byte's range excludes overlong forms, surrogates and code points above U+10FFFF.
std::size_t sequenceLength(const unsigned char *p, std::size_t available) {
    const unsigned char lead = p[0];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(p[i])) return 0;
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size) {
        if (size - i >= 8 && nextEightAreAscii(p + i)) {
            i += 8;
        } else if (p[i] < 0x80) {
            ++i;
        } else {
            const std::size_t length = sequenceLength(p + i, size - i);
            if (length == 0) return false;
            i += length;
        }
    }
    return true;
}

}  // namespace tremira::batch
