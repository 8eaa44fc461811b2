// tremira-help-reader: the help file on standard input, its stored files on standard output,
// for the help window (see entry_stream.h). Exits 1 when the input is not a help file.

#include <unistd.h>

#include <cstdio>

#include "help/viewer/reader/chm_entries.h"

int main() { return tremira::help::WriteEntries(STDIN_FILENO, stdout) ? 0 : 1; }
