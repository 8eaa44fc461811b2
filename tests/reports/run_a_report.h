#pragma once
// The report file of the first reference run with the fixed stamp, byte for byte: Windows-1251,
// the value in column 42, CR LF after every line. The end-to-end scenarios read the same file.

#include <QByteArray>

#include "tests/reports/file_bytes.h"

namespace tremira::reports::test {

inline QByteArray RunAReportBytes() { return ReadBytes(QStringLiteral(TREMIRA_RUN_A_REPORT)); }

}  // namespace tremira::reports::test
