#pragma once
// Read access to the pages and files stored in a compiled help file.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct chmFile;

namespace tremira::help {

class ChmArchive {
public:
    // Far above any page, style sheet or picture of a help file.
    static constexpr qint64 kMaxEntrySize = qint64{16} << 20;

    // Opens a regular file; a missing or unreadable file, a pipe or a device gives nothing.
    static std::optional<ChmArchive> open(const QString &fileName);

    // Stored paths begin with "/", as in "/overview.htm". Nothing when the file does not
    // hold the entry or the entry is damaged: a size beyond the file or the cap, or fewer
    // bytes than it claims.
    std::optional<QByteArray> read(const QString &storedPath) const;
    bool contains(const QString &storedPath) const;
    // Every ordinary stored file (no internal "#" or "$" entries, no folders).
    QStringList files() const;

private:
    struct Closer {
        void operator()(chmFile *file) const;
    };
    ChmArchive(chmFile *file, qint64 fileSize, bool compressedSectionFits)
        : m_file(file), m_fileSize(fileSize), m_compressedSectionFits(compressedSectionFits) {}

    std::unique_ptr<chmFile, Closer> m_file;
    qint64 m_fileSize;
    bool m_compressedSectionFits;
};

}  // namespace tremira::help
