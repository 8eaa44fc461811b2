// Arbitrary bytes as a help file through the help-file reader and the index parser: every
// stored file is read and the project options, contents and context map are parsed. Only a
// crash, a sanitizer finding or a read longer than the cap is a finding.

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>

#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/chm_archive.h"
#include "platform/help_file_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::platform;
    using tremira::fuzz::require;
    const int memory = ::memfd_create("help", MFD_CLOEXEC);
    require(memory >= 0, "a memory file can be made");
    require(::write(memory, data, size) == static_cast<ssize_t>(size), "the input is written whole");
    if (std::optional<ChmArchive> archive = ChmArchive::open(QStringLiteral("/proc/self/fd/%1").arg(memory))) {
        QStringList headers;
        for (const QString &path : archive->files()) {
            const std::optional<QByteArray> content = archive->read(path);
            require(!content || content->size() <= ChmArchive::kMaxEntrySize, "no entry beyond the cap");
            if (content && path.endsWith(QLatin1String(".h"))) headers.append(QString::fromUtf8(*content));
        }
        const HelpFileOptions options =
            parseHelpFileOptions(archive->read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
        parseContents(QString::fromUtf8(archive->read(options.contentsFile).value_or(QByteArray())));
        parseContextMap(headers);
    }
    ::close(memory);
    return 0;
}
