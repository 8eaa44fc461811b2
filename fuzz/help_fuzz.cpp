// Arbitrary bytes through the help viewer's own readers: the entry stream the help reader
// writes, and a help file's index (the project options, the table of contents and the context
// map). Only a crash or a sanitizer finding is a finding. Whole help files go through the
// reader process in chm_fuzz.

#include <QByteArray>
#include <QString>

#include <cstdint>

#include "help/viewer/chm_archive.h"
#include "help/viewer/help_file_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::help;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    if (const std::optional<ChmArchive> archive = ParseEntryStream(bytes)) {
        for (const QString &path : archive->files()) archive->read(path);
    }
    ParseHelpFileOptions(bytes);
    ParseContents(text);
    ParseContextMap({text, text});
    StoredPath(text);
    return 0;
}
