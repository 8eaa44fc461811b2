#pragma once
// Writing reports to "report.txt": appended in one piece or replacing the file, and in both
// cases either the whole report lands or the file stays byte for byte as it was.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <optional>

#include "reports/design_snapshot.h"
#include "reports/report_stamp.h"

namespace tremira::reports {

enum class WriteMode { Append, Replace };

struct FileWriteError {
    QString path;    // as given; shown in native form
    QString reason;  // in Russian, one sentence
};

// The reason for a system error number (errno), in Russian; empty for a number without a text
// of its own. The system's texts would come in the language of the C library, not the program's.
QString SystemErrorReason(int error);

// Writes all bytes to an open device and returns how many it took (-1 on error). The file
// writer goes through it so that a device that gives up part-way can be put in its place.
using DeviceWrite = std::function<qint64(QIODevice &device, const QByteArray &bytes)>;
qint64 WriteWhole(QIODevice &device, const QByteArray &bytes);

// The documents folder that the report may go to: the system's documents location, cleaned,
// when it is a full path and the user has a home folder; empty otherwise. Without a home (HOME
// unset or "/") the system names a folder under the root ("//Documents"), and a relative name
// would follow whatever folder the program was started from.
QString DocumentsFolder(const QString &documentsLocation, const QString &homeFolder);

// The folder that holds "report.txt": the program's folder when the user may write there (the
// build folder, a portable copy), otherwise "Тремира" in the user's documents folder (an
// installed program). Without a documents folder the program's folder stays, and saving there
// says why it failed.
QString ReportFolder(const QString &programFolder, bool programFolderWritable, const QString &documentsFolder);

// Makes the report's folder with any missing parents (the per-user folder, on the first save).
// A failure names the report path and gives the system's reason.
std::optional<FileWriteError> MakeReportFolder(const QString &folder);

// The report path in its folder, cleaned: one "/" before the name, also in the root folder.
QString ReportFilePath(const QString &folder);

// The bytes of one report: Windows-1251, CR LF after every line.
std::optional<QByteArray> EncodeFileReport(const DesignSnapshot &snapshot, const ReportStamp &stamp);

// Replace, and Append to a missing file, go through a new file beside the old one, renamed over
// it at the end, so that a failed first save leaves no file behind. Where no new file can be made
// (a read-only folder, no room for one more file) but report.txt itself can be written, Replace
// rewrites it in place, with its old bytes kept to be put back on a failure.
std::optional<FileWriteError> WriteReportFile(const QString &path, const QByteArray &bytes, WriteMode mode,
                                              const DeviceWrite &write = WriteWhole);

// One report of the snapshot written to path.
std::optional<FileWriteError> SaveReport(const QString &path, const DesignSnapshot &snapshot, const ReportStamp &stamp,
                                         WriteMode mode);

// The text of the failure box: what was not written ("результат", "лист"), the native path, which
// may break anywhere in a name too long for a line, and the reason.
QString FileWriteErrorText(const FileWriteError &error, const QString &what);

}  // namespace tremira::reports
