#include "help/help_file_location.h"

#include <QDir>

namespace tremira::help {

QString HelpFileLocation(const QString &programFolder, bool besideProgram) {
    // The installed data folder, relative to the installed program, comes from the install layout.
    const QString folder = besideProgram
                               ? programFolder
                               : QDir::cleanPath(programFolder + QStringLiteral("/" TREMIRA_DATA_FROM_PROGRAM_FOLDER));
    return folder + QStringLiteral("/Тремира.chm");
}

}  // namespace tremira::help
