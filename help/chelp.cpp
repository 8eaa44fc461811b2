#include "help/chelp.h"

#include "calc/field_numbers.h"
#include "platform/helper_file_path.h"

namespace tremira::help {
namespace {

// Removes leading and trailing blanks (character 32 only; tabs and other spaces stay).
QString trimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
    return text.sliced(first, last - first);
}

}  // namespace

void CHelp::Show(const QString &NewFile, const QString &WindowPane, std::optional<double> ContextID) const {
    const QString fileName = WindowPane.isEmpty() ? NewFile : trimBlanks(NewFile);
    // A number the viewer cannot take asks for the default topic rather than ending the program.
    m_viewer(fileName, ContextID ? calc::RoundHalfEven<qint32>(*ContextID) : std::nullopt);
}

QString HelpFilePath(const QString &programFolder) {
    return platform::HelperFilePath(programFolder, QStringLiteral("Тремира.chm"),
                                    QStringLiteral(TREMIRA_DATA_FROM_PROGRAM_FOLDER));
}

}  // namespace tremira::help
