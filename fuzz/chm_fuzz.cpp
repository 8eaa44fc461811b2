// Arbitrary bytes as a help file, opened as the help window opens one: unpacked by the help
// reader in a process of its own, then every stored file read and the index parsed. The reader
// may refuse the input with its own exit status, which gives no help file. A finding is a crash
// or sanitizer report in this process, a reader that crashes (a sanitizer report in the reader
// ends it with a status of the sanitizer's: run the reader on the kept input to see it) or ends
// well with a garbled stream, or an entry beyond the cap.

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "help/viewer/chm_archive.h"
#include "help/viewer/help_file_index.h"
#include "help/viewer/reader/entry_stream.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    // QProcess wants an application object.
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::help;
    using tremira::fuzz::require;
    const int memory = ::memfd_create("help", MFD_CLOEXEC);
    require(memory >= 0, "a memory file can be made");
    require(::write(memory, data, size) == static_cast<ssize_t>(size), "the input is written whole");
    HelpFileFailure failure = HelpFileFailure::Damaged;
    const std::optional<ChmArchive> archive =
        ChmArchive::open(QStringLiteral(TREMIRA_HELP_READER), QStringLiteral("/proc/self/fd/%1").arg(memory), &failure);
    ::close(memory);
    require(archive || failure != HelpFileFailure::ReaderCrashed, "the reader does not crash");
    require(archive || failure != HelpFileFailure::ReaderGarbled, "the reader writes a well-formed stream");
    if (!archive) return 0;
    QStringList headers;
    for (const QString &path : archive->files()) {
        const std::optional<QByteArray> content = archive->read(path);
        require(archive->contains(path), "a listed file is held");
        require(!content || content->size() <= kMaxEntrySize, "no entry beyond the cap");
        if (content && path.endsWith(QLatin1String(".h"))) headers.append(QString::fromUtf8(*content));
    }
    const HelpFileOptions options =
        ParseHelpFileOptions(archive->read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    ParseContents(QString::fromUtf8(archive->read(options.contentsFile).value_or(QByteArray())));
    ParseContextMap(headers);
    return 0;
}
