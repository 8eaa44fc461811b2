#pragma once
// The desktop's help viewer: opens a compiled help file in the help window, at its default
// topic or at the topic of a context number.

#include <QString>
#include <QtGlobal>

class QWidget;

namespace tremira::platform {

// Commands of the viewer.
inline constexpr quint32 HH_DISPLAY_TOPIC = 0;
inline constexpr quint32 HH_HELP_CONTEXT = 15;

// The help window is top-level whatever the owner; a second call brings the same window
// forward at the requested topic. A file that cannot be read shows a message in the
// window. Returns the help window; none for an unknown command.
QWidget *HtmlHelp(QWidget *owner, const QString &fileName, quint32 command, qint32 data);

}  // namespace tremira::platform
