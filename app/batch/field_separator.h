#pragma once
// The separator of the batch format, between the fields of an input line and between the
// columns of an output line.

namespace tremira::batch {

inline constexpr char kFieldSeparator = ';';

}  // namespace tremira::batch
