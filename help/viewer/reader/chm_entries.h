#pragma once
// The help reader's work: the help file open on one descriptor, its stored files written to
// another as an entry stream. It runs in a process of its own, because the library that
// unpacks help files can crash or run wild on a damaged one.

#include <cstdio>

namespace tremira::help {

// False when the input is not a help file or the output cannot take the stream.
bool WriteEntries(int input, std::FILE *output);

}  // namespace tremira::help
