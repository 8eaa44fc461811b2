#pragma once
// The program's help viewer: opens a compiled help file in the help window, at the topic of a
// context number or at the file's default topic.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tremira::help {

// The help window is top-level and has no owner; a second call brings the same window forward
// at the requested topic. A file that cannot be read shows a message in the window; a number
// the file does not map shows the default topic.
void ShowHelp(const QString &fileName, std::optional<qint32> topic);

}  // namespace tremira::help
