#pragma once
// Why a file could not be read or the output written, as tremira-calc reports it: the
// system's English text and a Russian one, in the order of the tool's other messages.

#include <string>

namespace tremira::batch {

// "No space left on device / нет места на устройстве" for ENOSPC; an errno outside the
// common ones gives a generic Russian text with its number.
std::string SystemReason(int error);

}  // namespace tremira::batch
