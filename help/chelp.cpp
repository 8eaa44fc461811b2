#include "help/chelp.h"

#include <cmath>
#include <limits>

#include <QFileInfo>

#include "help/help_file_location.h"
#include "help/viewer_call.h"
#include "platform/help_viewer.h"

namespace tremira::help {

QString trimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
    return text.sliced(first, last - first);
}

std::optional<qint32> toContextNumber(double value) {
    // nearbyint rounds in the default mode: to nearest, halves to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

void CHelp::Show(const QString &NewFile, const QString &WindowPane, std::optional<double> ContextID) const {
    const QString fileName = WindowPane.isEmpty() ? NewFile : trimBlanks(NewFile);
    // A number the viewer cannot take asks for the default topic rather than ending the program.
    const std::optional<qint32> number = ContextID ? toContextNumber(*ContextID) : std::nullopt;
    if (number)
        viewer()(nullptr, fileName, platform::HH_HELP_CONTEXT, *number);
    else
        viewer()(nullptr, fileName, platform::HH_DISPLAY_TOPIC, 0);
}

QString HelpFilePath(const QString &programFolder) {
    return HelpFileLocation(programFolder, QFileInfo::exists(HelpFileLocation(programFolder, true)));
}

}  // namespace tremira::help
