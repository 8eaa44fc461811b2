#pragma once
// Hands an address (a web page, a "mailto:" message) to the desktop's own program for it.

#include <QString>

namespace tremira::platform {

// Starts the desktop opener detached, in workingFolder when one is given; false when the
// opener could not be started. What the opener then does is not followed.
bool OpenWithDesktop(const QString &address, const QString &workingFolder = {});

}  // namespace tremira::platform
