// Arbitrary bytes through the help viewer's own readers of a help file's index: the project
// options, the table of contents and the context map. Only a crash or a sanitizer finding is a
// finding. The compiled file's container is read by chmlib, whose own faults are outside this
// target.

#include <QByteArray>
#include <QString>

#include <cstdint>

#include "help/viewer/help_file_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::help;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    ParseHelpFileOptions(bytes);
    ParseContents(text);
    ParseContextMap({text, text});
    StoredPath(text);
    return 0;
}
