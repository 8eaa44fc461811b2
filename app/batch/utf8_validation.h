#pragma once
// Strict UTF-8 check for the batch input: no overlong forms, no surrogates, nothing above
// U+10FFFF.

#include <string_view>

namespace tremira::batch {

bool IsValidUtf8(std::string_view text);

}  // namespace tremira::batch
