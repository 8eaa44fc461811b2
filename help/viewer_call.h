#pragma once
// How a help request reaches the help viewer: the help file, and the context number of a
// topic or none for the file's default topic. The program hands its windows the real viewer;
// a test hands them a recorder in the same way.

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace tremira::help {

using ViewerCall = std::function<void(const QString &fileName, std::optional<qint32> topic)>;

}  // namespace tremira::help
