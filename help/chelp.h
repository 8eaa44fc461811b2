#pragma once
// Opens the program's help file in the help viewer, at its default topic or at a context number.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tremira::help {

class CHelp {
public:
    // NewFile is used on a copy; a non-empty WindowPane only makes Show trim that copy of
    // leading and trailing blanks. Without ContextID the viewer shows the default topic.
    void Show(const QString &NewFile, const QString &WindowPane, std::optional<double> ContextID = std::nullopt) const;
};

// The program's help file: in its folder (given without a trailing "/") when it is there,
// else in the installed data folder.
QString HelpFilePath(const QString &programFolder);

// Removes leading and trailing blanks (character 32 only; tabs and other spaces stay).
QString trimBlanks(const QString &text);

// The context number as the viewer takes it: the nearest 32-bit integer, halves to the
// even one. Nothing for a value that is no number or lies outside the 32-bit range.
std::optional<qint32> toContextNumber(double value);

}  // namespace tremira::help
