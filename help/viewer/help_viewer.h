#pragma once
// The program's help viewer: opens a compiled help file in the help window, at the topic of a
// context number or at the file's default topic.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tremira::help {

// The help window is top-level and has no owner; a second call brings the same window forward
// at the requested topic, and the reader program of the first call serves the whole run. A file
// that cannot be read shows a message in the window, and is read again only once it has
// changed; a call while the file is read is ignored; a number the file does not map shows the
// default topic.
void ShowHelp(const QString &readerProgram, const QString &fileName, std::optional<qint32> topic);

// The help reader beside the program (the build folder, a portable copy), otherwise in the
// libexec folder of an installed program; programFolder is given without a trailing "/".
QString HelpReaderProgram(const QString &programFolder);

}  // namespace tremira::help
