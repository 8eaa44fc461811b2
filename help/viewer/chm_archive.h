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
    // Opens the file; a missing or unreadable file gives nothing.
    static std::optional<ChmArchive> open(const QString &fileName);

    // Stored paths begin with "/", as in "/overview.htm".
    std::optional<QByteArray> read(const QString &storedPath) const;
    bool contains(const QString &storedPath) const;
    // Every ordinary stored file (no internal "#" or "$" entries, no folders).
    QStringList files() const;

private:
    struct Closer {
        void operator()(chmFile *file) const;
    };
    explicit ChmArchive(chmFile *file) : m_file(file) {}

    std::unique_ptr<chmFile, Closer> m_file;
};

}  // namespace tremira::help
