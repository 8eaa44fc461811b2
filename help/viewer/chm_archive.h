#pragma once
// Read access to the pages and files stored in a compiled help file.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace tremira::help {

class ChmArchive {
public:
    // The help reader gets this long to unpack a help file, far more than any help file needs.
    static constexpr int kReaderTimeoutMs = 5000;

    // Unpacks a regular file with the help reader program, in a process of its own: a missing
    // or unreadable file, a pipe or a device, or a file the reader fails on, crashes on or
    // takes longer than kReaderTimeoutMs for gives nothing.
    static std::optional<ChmArchive> open(const QString &readerProgram, const QString &fileName);

    // Stored paths begin with "/", as in "/overview.htm". Nothing when the file does not
    // hold the entry or the entry is damaged.
    std::optional<QByteArray> read(const QString &storedPath) const;
    bool contains(const QString &storedPath) const;
    // Every ordinary stored file (no internal "#" or "$" entries, no folders), in stored order.
    QStringList files() const;

private:
    ChmArchive() = default;

    QHash<QString, std::optional<QByteArray>> m_entries;
    QStringList m_files;

    friend std::optional<ChmArchive> ParseEntryStream(const QByteArray &stream);
};

// The help file a reader wrote as its entry stream; nothing when the stream is cut short or malformed.
std::optional<ChmArchive> ParseEntryStream(const QByteArray &stream);

}  // namespace tremira::help
