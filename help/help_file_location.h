#pragma once
// Where the program finds its help file: beside itself (the build folder, a portable copy),
// otherwise in the data folder of an installed program, ../share/tremira from its folder.

#include <QString>

namespace tremira::help {

// programFolder is given without a trailing "/"; besideProgram says whether the file lies there.
QString HelpFileLocation(const QString &programFolder, bool besideProgram);

}  // namespace tremira::help
