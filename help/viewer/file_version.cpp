#include "help/viewer/file_version.h"

#include <sys/stat.h>

#include <QFile>

namespace tremira::help {

std::optional<FileVersion> FileVersionOf(const QString &fileName) {
    struct stat status {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0) return std::nullopt;
    return FileVersion{static_cast<qint64>(status.st_dev), static_cast<qint64>(status.st_ino), status.st_size,
                       status.st_ctim.tv_sec, status.st_ctim.tv_nsec};
}

}  // namespace tremira::help
