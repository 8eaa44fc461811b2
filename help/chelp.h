#pragma once
// Opens the program's help file in the help viewer, at its default topic or at a context number.

#include <QString>

#include <optional>

#include "help/viewer_call.h"

namespace tremira::help {

class CHelp {
public:
    explicit CHelp(ViewerCall viewer) : m_viewer(std::move(viewer)) {}

    // NewFile is used on a copy; a non-empty WindowPane only makes Show trim that copy of
    // leading and trailing blanks. Without ContextID the viewer shows the default topic.
    void Show(const QString &NewFile, const QString &WindowPane, std::optional<double> ContextID = std::nullopt) const;

private:
    ViewerCall m_viewer;
};

// The program's help file: in its folder (given without a trailing "/") when it is there,
// else in the installed data folder.
QString HelpFilePath(const QString &programFolder);

}  // namespace tremira::help
