#pragma once
// What the help reader hands the help window: every stored file of a help file, one record
// after another until the end of the stream. A record is the stored path, a zero byte, the
// content's length as 8 bytes little-endian and the content; a length of kDamagedEntry, with
// no content, marks a file the help file lists but cannot give.

#include <cstdint>

namespace tremira::help {

inline constexpr std::int64_t kDamagedEntry = -1;
inline constexpr int kEntryLengthBytes = 8;

// Far above any page, style sheet or picture of a help file.
inline constexpr std::int64_t kMaxEntrySize = std::int64_t{16} << 20;
// Far above any help file: what lies beyond is not read.
inline constexpr std::int64_t kMaxStreamSize = std::int64_t{256} << 20;

// The reader's exit status for an input that is not a help file. Any other failure status, such
// as the 1 of the sanitizers, means that the reader itself went wrong.
inline constexpr int kNotAHelpFileStatus = 2;

}  // namespace tremira::help
