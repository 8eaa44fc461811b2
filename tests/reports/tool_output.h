#pragma once
// Runs one of poppler's command-line tools and returns what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tremira::reports::test {

inline QString ToolOutput(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace tremira::reports::test
