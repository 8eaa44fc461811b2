#include "platform/url_opener.h"

#include <QProcess>

namespace tremira::platform {

bool OpenWithDesktop(const QString &address, const QString &workingFolder) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {address}, workingFolder);
}

}  // namespace tremira::platform
