#pragma once
// Whether a graphical session can be reached, decided before Qt loads its platform plugin
// (which would abort the process with a core dump when there is none).

#include <QString>

namespace tremira::platform {

struct DisplayEnvironment {
    QString platformName;    // "-platform" argument, else QT_QPA_PLATFORM; may be empty
    QString x11Display;      // DISPLAY
    QString waylandDisplay;  // WAYLAND_DISPLAY
};

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv);

bool GraphicalSessionReachable(const DisplayEnvironment &environment);

// One line, Russian and English, for the terminal.
extern const char kNoGraphicalSessionMessage[];

}  // namespace tremira::platform
