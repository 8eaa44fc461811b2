#pragma once
// The one road from the program to the help viewer, so that a test can stand in for it.

#include <QString>
#include <QtGlobal>

#include <functional>

class QWidget;

namespace tremira::help {

using ViewerCall = std::function<void(QWidget *owner, const QString &fileName, quint32 command, qint32 data)>;

// The viewer every help request goes to: the desktop's help viewer unless replaced.
const ViewerCall &viewer();
// Puts another viewer in place and returns the one it replaces.
ViewerCall replaceViewer(ViewerCall replacement);

}  // namespace tremira::help
