#pragma once
// Tells one state of a file on disk from another: a help file that could not be read is read
// again only once it has been written or replaced.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tremira::help {

// Writing a file changes its size or its change time, which no one can set back; replacing it
// gives another inode.
struct FileVersion {
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 changedSeconds = 0;
    qint64 changedNanoseconds = 0;

    bool operator==(const FileVersion &) const = default;
};

// Nothing for a file that cannot be looked at: missing, or in a folder that cannot be searched.
std::optional<FileVersion> FileVersionOf(const QString &fileName);

}  // namespace tremira::help
