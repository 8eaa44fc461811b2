#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tremira::reports {

// The report file's code page: one byte per character; a character the code page cannot hold
// (a typed option text may contain any) becomes "?". Empty when the system offers no
// Windows-1251 converter.
std::optional<QByteArray> EncodeWindows1251(const QString &text);

}  // namespace tremira::reports
