// tremira-help-reader: the help file on standard input, its stored files on standard output,
// for the help window (see entry_stream.h).

#include <unistd.h>

#include <cstdio>

#include "help/viewer/reader/chm_entries.h"
#include "help/viewer/reader/entry_stream.h"

int main() { return tremira::help::WriteEntries(STDIN_FILENO, stdout) ? 0 : tremira::help::kNotAHelpFileStatus; }
