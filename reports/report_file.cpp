#include "reports/report_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "reports/report_lines.h"
#include "reports/windows1251.h"

namespace tremira::reports {
namespace {

// What the writer was doing when the system said no; it stands for the reason when the system
// gives no cause of its own.
enum class Step { MakeFolder, Open, Read, Write, Replace };

QString stepText(Step step) {
    switch (step) {
    case Step::MakeFolder: return QStringLiteral("Папка файла не создалась");
    case Step::Open: return QStringLiteral("Файл не открылся для записи");
    case Step::Read: return QStringLiteral("Старое содержимое файла не прочиталось");
    case Step::Write: return QStringLiteral("Запись прервалась");
    case Step::Replace: return QStringLiteral("Новый файл не удалось поставить на место старого");
    }
    return {};
}

// Qt passes the system's error number on in errno; the writer clears errno before each step
// and reads it right after.
FileWriteError failure(const QString &path, Step step, int error) {
    QString reason = SystemErrorReason(error);
    if (reason.isEmpty()) {
        reason = stepText(step);
        if (error != 0) reason += QStringLiteral(" (ошибка системы %1)").arg(error);
        reason += QLatin1Char('.');
    }
    return {path, reason};
}

// A pipe or a device named report.txt would block the window on open or swallow the report.
std::optional<FileWriteError> refuseSpecialFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) return std::nullopt;
    if (info.isDir()) return FileWriteError{path, SystemErrorReason(EISDIR)};
    return FileWriteError{path, QStringLiteral("Это не обычный файл, а канал, устройство или сокет.")};
}

// Writes bytes after the old end of the file; on a failure the file is cut back to that end, so
// no part of them stays behind the old content. Gives the system's error number on a failure.
std::optional<int> writeAfterEnd(QFile &file, qint64 oldSize, const QByteArray &bytes, const DeviceWrite &write) {
    errno = 0;
    if (file.seek(oldSize) && write(file, bytes) == bytes.size()) return std::nullopt;
    const int error = errno;
    file.resize(oldSize);
    return error;
}

// The replace without a new file beside the old one. The old bytes are read first; the file
// then grows by the part of the new report beyond the old end, as an append would, so that a
// full disk stops the writer before any old byte is touched; then the rest is written over the
// old bytes and the file is cut to the new length. On a failure the old bytes are put back.
std::optional<FileWriteError> rewriteInPlace(const QString &path, const QByteArray &bytes, const DeviceWrite &write) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return failure(path, Step::Open, errno);
    errno = 0;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError || old.size() != file.size()) return failure(path, Step::Read, errno);
    const qint64 oldSize = old.size();

    if (bytes.size() > oldSize) {
        if (const std::optional<int> error = writeAfterEnd(file, oldSize, bytes.mid(oldSize), write)) {
            return failure(path, Step::Write, *error);
        }
    }
    const QByteArray head = bytes.left(oldSize);
    errno = 0;
    if (!file.seek(0) || write(file, head) != head.size() || !file.resize(bytes.size())) {
        const int error = errno;
        if (file.seek(0)) file.write(old);
        file.resize(oldSize);
        return failure(path, Step::Write, error);
    }
    return std::nullopt;
}

std::optional<FileWriteError> replaceReport(const QString &path, const QByteArray &bytes, const DeviceWrite &write) {
    QSaveFile file(path);
    errno = 0;
    // Unbuffered as well: a buffered QSaveFile loses a failed flush (a full disk) and commits
    // an empty file over the old report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        // No new file can be made beside the old one; the old one may still take the report.
        if (QFileInfo(path).isFile()) return rewriteInPlace(path, bytes, write);
        return failure(path, Step::Open, error);
    }
    errno = 0;
    if (write(file, bytes) != bytes.size()) {
        const int error = errno;
        file.cancelWriting();
        return failure(path, Step::Write, error);
    }
    errno = 0;
    if (!file.commit()) return failure(path, Step::Replace, errno);
    return std::nullopt;
}

// A missing file is written whole as a new one, as a replace would: appending to it would make
// the file first, and a failed write would leave it there empty.
std::optional<FileWriteError> appendReport(const QString &path, const QByteArray &bytes, const DeviceWrite &write) {
    QFile file(path);
    errno = 0;
    // Unbuffered: the report goes to the system in one write, so a failure is seen here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        if (error == ENOENT) return replaceReport(path, bytes, write);
        return failure(path, Step::Open, error);
    }
    if (const std::optional<int> error = writeAfterEnd(file, file.size(), bytes, write)) {
        return failure(path, Step::Write, *error);
    }
    return std::nullopt;
}

// A message box wraps its lines between words and after a separator only: a name longer than
// this could run past the box's edge and be cut.
constexpr qsizetype kLongestUnbrokenName = 32;

// The path with a break allowed after each character of a name too long for a line, so that the
// box shows it whole; the break is a zero-width space, which takes no room.
QString wrappablePath(const QString &path) {
    QStringList names = path.split(QDir::separator());
    for (QString &name : names) {
        if (name.size() <= kLongestUnbrokenName) continue;
        QString breakable;
        for (const QChar c : std::as_const(name)) {
            breakable += c;
            if (!c.isHighSurrogate()) breakable += QChar(0x200B);
        }
        name = breakable;
    }
    return names.join(QDir::separator());
}

}  // namespace

QString SystemErrorReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на запись в этот файл или в его папку.");
    case EROFS: return QStringLiteral("Диск открыт только для чтения.");
    case ENOSPC: return QStringLiteral("На диске не хватает места.");
    case EDQUOT: return QStringLiteral("Исчерпана дисковая квота пользователя.");
    case EFBIG: return QStringLiteral("Файл стал бы больше, чем допускает система.");
    case EISDIR: return QStringLiteral("Это папка, а не файл.");
    case ENOENT: return QStringLiteral("Папка файла не найдена.");
    case ENOTDIR: return QStringLiteral("Часть пути к файлу не папка.");
    case EEXIST: return QStringLiteral("Имя в пути к файлу уже занято.");
    case ENAMETOOLONG: return QStringLiteral("Путь к файлу слишком длинный.");
    case ELOOP: return QStringLiteral("В пути к файлу слишком много символических ссылок.");
    case ETXTBSY:
    case EBUSY: return QStringLiteral("Файл занят.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Открыто слишком много файлов.");
    case EIO: return QStringLiteral("Ошибка ввода-вывода на диске.");
    case ENXIO:
    case ENODEV: return QStringLiteral("Устройство недоступно.");
    default: return {};
    }
}

qint64 WriteWhole(QIODevice &device, const QByteArray &bytes) { return device.write(bytes); }

QString DocumentsFolder(const QString &documentsLocation, const QString &homeFolder) {
    if (QDir::isRelativePath(documentsLocation) || QDir::cleanPath(homeFolder) == QDir::rootPath()) return {};
    return QDir::cleanPath(documentsLocation);
}

QString ReportFolder(const QString &programFolder, bool programFolderWritable, const QString &documentsFolder) {
    if (programFolderWritable || documentsFolder.isEmpty()) return programFolder;
    return QDir::cleanPath(documentsFolder + QStringLiteral("/Тремира"));
}

std::optional<FileWriteError> MakeReportFolder(const QString &folder) {
    // QDir::mkpath would say only that it failed; the reason is what the user needs.
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (!error) return std::nullopt;
    return failure(ReportFilePath(folder), Step::MakeFolder, error.value());
}

QString ReportFilePath(const QString &folder) { return QDir::cleanPath(folder + QStringLiteral("/report.txt")); }

std::optional<QByteArray> EncodeFileReport(const DesignSnapshot &snapshot, const ReportStamp &stamp) {
    const QString crLf = QStringLiteral("\r\n");
    return EncodeWindows1251(FileReportLines(snapshot, stamp).join(crLf) + crLf);
}

std::optional<FileWriteError> WriteReportFile(const QString &path, const QByteArray &bytes, WriteMode mode,
                                              const DeviceWrite &write) {
    if (auto refused = refuseSpecialFile(path)) return refused;
    return mode == WriteMode::Append ? appendReport(path, bytes, write) : replaceReport(path, bytes, write);
}

std::optional<FileWriteError> SaveReport(const QString &path, const DesignSnapshot &snapshot, const ReportStamp &stamp,
                                         WriteMode mode) {
    const std::optional<QByteArray> bytes = EncodeFileReport(snapshot, stamp);
    if (!bytes) return FileWriteError{path, QStringLiteral("В системе нет кодировки Windows-1251.")};
    return WriteReportFile(path, *bytes, mode);
}

QString FileWriteErrorText(const FileWriteError &error, const QString &what) {
    return QStringLiteral("Не удалось записать %1 в файл\n%2\n\n%3")
        .arg(what, wrappablePath(QDir::toNativeSeparators(error.path)), error.reason);
}

}  // namespace tremira::reports
