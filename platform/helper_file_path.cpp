#include "platform/helper_file_path.h"

#include <QDir>
#include <QFileInfo>

namespace tremira::platform {

QString HelperFilePath(const QString &programFolder, const QString &fileName, const QString &installedFolder) {
    const QString beside = programFolder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(programFolder + QLatin1Char('/') + installedFolder) + QLatin1Char('/') + fileName;
}

}  // namespace tremira::platform
