#pragma once
// Where the program's own helper files lie: beside it in a build or a portable copy, else in
// their installed folder.

#include <QString>

namespace tremira::platform {

// `fileName` beside the program when it is there, else in `installedFolder`, a path relative
// to the program's folder (such as "../libexec/tremira").
QString HelperFilePath(const QString &programFolder, const QString &fileName, const QString &installedFolder);

}  // namespace tremira::platform
