#include "reports/report_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "reports/report_lines.h"
#include "reports/windows1251.h"

namespace tremira::reports {
namespace {

// A pipe or a device named report.txt would block the window on open or swallow the report.
std::optional<FileWriteError> refuseSpecialFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile() || info.isDir()) return std::nullopt;
    return FileWriteError{path, QStringLiteral("это не обычный файл")};
}

std::optional<FileWriteError> appendReport(const QString &path, const QByteArray &bytes, const DeviceWrite &write) {
    QFile file(path);
    // Unbuffered: the report goes to the system in one write, so a failure is seen here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return FileWriteError{path, file.errorString()};
    }
    const qint64 oldSize = file.size();
    if (write(file, bytes) != bytes.size()) {
        const QString reason = file.errorString();
        // No half report may stay behind the old content.
        file.resize(oldSize);
        return FileWriteError{path, reason};
    }
    return std::nullopt;
}

std::optional<FileWriteError> replaceReport(const QString &path, const QByteArray &bytes, const DeviceWrite &write) {
    QSaveFile file(path);
    // Unbuffered as well: a buffered QSaveFile loses a failed flush (a full disk) and commits
    // an empty file over the old report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return FileWriteError{path, file.errorString()};
    if (write(file, bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileWriteError{path, reason};
    }
    if (!file.commit()) return FileWriteError{path, file.errorString()};
    return std::nullopt;
}

}  // namespace

qint64 WriteWhole(QIODevice &device, const QByteArray &bytes) { return device.write(bytes); }

QString ReportFolder(const QString &programFolder, bool programFolderWritable, const QString &documentsFolder) {
    if (programFolderWritable || documentsFolder.isEmpty()) return programFolder;
    return documentsFolder + QStringLiteral("/Тремира");
}

QString ReportFilePath(const QString &folder) { return folder + QStringLiteral("/report.txt"); }

std::optional<QByteArray> EncodeFileReport(const DesignSnapshot &sheet, const ReportStamp &stamp) {
    const QString crLf = QStringLiteral("\r\n");
    return EncodeWindows1251(FileReportLines(sheet, stamp).join(crLf) + crLf);
}

std::optional<FileWriteError> WriteReportFile(const QString &path, const QByteArray &bytes, WriteMode mode,
                                              const DeviceWrite &write) {
    if (auto refused = refuseSpecialFile(path)) return refused;
    return mode == WriteMode::Append ? appendReport(path, bytes, write) : replaceReport(path, bytes, write);
}

std::optional<FileWriteError> SaveReport(const QString &path, const DesignSnapshot &sheet, const ReportStamp &stamp,
                                         WriteMode mode) {
    const std::optional<QByteArray> bytes = EncodeFileReport(sheet, stamp);
    if (!bytes) return FileWriteError{path, QStringLiteral("в системе нет кодировки Windows-1251")};
    return WriteReportFile(path, *bytes, mode);
}

QString FileWriteErrorText(const FileWriteError &error) {
    return QStringLiteral("Не удалось записать результат в файл\n%1\n\n%2")
        .arg(QDir::toNativeSeparators(error.path), error.reason);
}

}  // namespace tremira::reports
