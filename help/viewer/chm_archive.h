#pragma once
// Read access to the pages and files stored in a compiled help file.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace tremira::help {

// Why a help file gives no pages: the file itself, or the reader that unpacks it.
enum class HelpFileFailure {
    Missing,
    // Unreadable, not a regular file, or not a help file by the reader's own word.
    Damaged,
    ReaderNotStarted,
    ReaderTimedOut,
    // Killed by a signal, or ended with a status other than its own for a file that is not a
    // help file.
    ReaderCrashed,
    // Wrote more than the help file can hold.
    ReaderOverflowed,
    // Ended well but wrote a stream that is cut short or malformed.
    ReaderGarbled,
};

class ChmArchive {
public:
    // The help reader gets this long to unpack a help file, far more than any help file needs.
    static constexpr int kReaderTimeoutMs = 5000;

    // Unpacks a regular file with the help reader program, in a process of its own that ends
    // with this one. Meanwhile the program's events go on (the caller refuses what must wait).
    // Gives nothing, and says why in `failure` when one is given, for a file that is missing,
    // unreadable, a pipe or a device, or not a help file, and for a reader that cannot start,
    // crashes, writes more than the file can hold or takes longer than kReaderTimeoutMs.
    static std::optional<ChmArchive> open(const QString &readerProgram, const QString &fileName,
                                          HelpFileFailure *failure = nullptr);

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
