// The help window on damaged copies of the built help file: every one shows the damaged-file
// message, neither the window nor the reader crashes, and nothing that is not in the file ever
// reaches the page.

#include <sys/stat.h>

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "help/viewer/chm_archive.h"
#include "tests/help/viewer/shown_help_window.h"
#include "tests/reports/file_bytes.h"

namespace {

using namespace tremira::help;

const QString kHelpFile = QStringLiteral(TREMIRA_HELP_FILE);
const QString kHelpReader = QStringLiteral(TREMIRA_HELP_READER);

QByteArray encInt(quint64 value) {
    QByteArray bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) bytes.prepend(static_cast<char>(0x80 | (value & 0x7F)));
    return bytes;
}

qsizetype encIntSize(const QByteArray &bytes, qsizetype at) {
    qsizetype size = 1;
    while (static_cast<uchar>(bytes[at + size - 1]) & 0x80) ++size;
    return size;
}

quint32 littleEndian32(const QByteArray &bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uchar>(bytes[at + i]);
    return value;
}

void setLittleEndian32(QByteArray &bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The directory entry of `storedPath` (name, section, offset, length) made to claim `length`
// bytes. The longer number takes room from the free space at the end of its directory chunk.
QByteArray withClaimedLength(QByteArray file, const QByteArray &storedPath, quint64 length) {
    const qsizetype name = file.indexOf(encInt(storedPath.size()) + storedPath);
    const qsizetype chunk = file.lastIndexOf("PMGL", name);
    const quint32 chunkSize = littleEndian32(file, file.indexOf("ITSP") + 0x10);
    if (name < 0 || chunk < 0) return {};
    qsizetype field = name + 1 + storedPath.size();
    field += encIntSize(file, field);  // section
    field += encIntSize(file, field);  // offset
    const QByteArray claimed = encInt(length);
    const qsizetype growth = claimed.size() - encIntSize(file, field);
    file.replace(field, encIntSize(file, field), claimed);
    file.remove(chunk + chunkSize, growth);
    setLittleEndian32(file, chunk + 4, littleEndian32(file, chunk + 4) - static_cast<quint32>(growth));
    return file;
}

QByteArray withFlippedBits(QByteArray file, qsizetype first, qsizetype step) {
    for (qsizetype at = first; at < file.size(); at += step) file[at] = static_cast<char>(file[at] ^ 0x10);
    return file;
}

// The compressed section's control data claims a window of one byte, which makes the reader
// divide by zero.
QByteArray withLzxWindowOfOneByte(QByteArray file) {
    const qsizetype control = file.indexOf("LZXC");
    if (control < 0) return {};
    setLittleEndian32(file, control + 4, 1);  // version 1: the sizes count bytes
    setLittleEndian32(file, control + 12, 1);
    return file;
}

// The compressed section's control data claims a window of 36 KB, which is no power of two.
QByteArray withLzxWindowOf36Kilobytes(QByteArray file) {
    const qsizetype control = file.indexOf("LZXC");
    if (control < 0) return {};
    setLittleEndian32(file, control + 4, 1);  // version 1: the sizes count bytes
    setLittleEndian32(file, control + 8, 0x12000);
    setLittleEndian32(file, control + 12, 0x9000);
    return file;
}

// The reset table of the compressed section (version 2, its header of 0x28 bytes) claims frames
// of 2^36 bytes, which chmlib allocates as 32-bit sizes.
QByteArray withLzxFramesOf2To36Bytes(QByteArray file) {
    const qsizetype header = file.indexOf(QByteArray("\x08\0\0\0\x28\0\0\0", 8));
    if (header < 8 || littleEndian32(file, header - 8) != 2) return {};
    const qsizetype frameField = header - 8 + 0x20;
    setLittleEndian32(file, frameField, 0);
    setLittleEndian32(file, frameField + 4, 0x10);
    return file;
}

struct DamagedFile {
    const char *name;
    QByteArray bytes;
};

std::vector<DamagedFile> damagedCopies(const QByteArray &good) {
    return {
        {"/#SYSTEM claims 2^40 bytes", withClaimedLength(good, "/#SYSTEM", quint64{1} << 40)},
        {"/obzor.htm claims 2^40 bytes", withClaimedLength(good, "/obzor.htm", quint64{1} << 40)},
        {"cut at 300 bytes", good.left(300)},
        {"cut at 8192 bytes", good.left(8192)},
        {"cut at 20000 bytes", good.left(20000)},
        {"many bits flipped", withFlippedBits(good, 200, 97)},
        {"a compression window of one byte", withLzxWindowOfOneByte(good)},
        {"a compression window of 36 KB", withLzxWindowOf36Kilobytes(good)},
        {"compression frames of 2^36 bytes", withLzxFramesOf2To36Bytes(good)},
    };
}

const QString kFailure = QStringLiteral("Не удаётся открыть файл справки");

// The text of every page of a help file, as the help window shows it.
QHash<QString, QString> shownPages(const QString &fileName, const QStringList &pages) {
    HelpWindow *window = tremira::testing::OpenHelp(fileName, std::nullopt);
    QHash<QString, QString> shown;
    if (!window) return shown;
    shown.insert(QString(), tremira::testing::ShownPage(window)->toPlainText());
    for (const QString &page : pages) {
        tremira::testing::ShownPage(window)->setSource(QUrl(QStringLiteral("help:") + page));
        shown.insert(page, tremira::testing::ShownPage(window)->toPlainText());
    }
    return shown;
}

// Each page of a damaged copy is either the intact page or the damaged-file message, and
// the damage shows on at least one of them.
TEST(DamagedHelpFile, EveryPageIsIntactOrSaysTheFileIsDamaged) {
    QStringList pages;
    for (const QString &path : ChmArchive::open(kHelpReader, kHelpFile)->files()) {
        if (path.endsWith(QLatin1String(".htm"))) pages.append(path);
    }
    ASSERT_GE(pages.size(), 9);
    const QHash<QString, QString> intact = shownPages(kHelpFile, pages);
    QTemporaryDir folder;
    int index = 0;
    for (const DamagedFile &damaged : damagedCopies(tremira::reports::test::ReadBytes(kHelpFile))) {
        SCOPED_TRACE(damaged.name);
        ASSERT_FALSE(damaged.bytes.isEmpty()) << "the generator did not find its place in the file";
        const QString fileName = folder.filePath(QStringLiteral("%1.chm").arg(++index));
        tremira::reports::test::WriteBytes(fileName, damaged.bytes);
        HelpFileFailure failure = HelpFileFailure::Damaged;
        const bool opened = ChmArchive::open(kHelpReader, fileName, &failure).has_value();
        EXPECT_TRUE(opened || failure == HelpFileFailure::Damaged) << "the reader itself failed";
        int failures = 0;
        const QHash<QString, QString> shown = shownPages(fileName, pages);
        for (auto page = shown.cbegin(); page != shown.cend(); ++page) {
            SCOPED_TRACE(page.key().toStdString());
            if (page.value() == intact.value(page.key())) continue;
            ++failures;
            EXPECT_TRUE(page.value().contains(kFailure)) << page.value().left(200).toStdString();
            EXPECT_TRUE(page.value().contains(fileName));
        }
        EXPECT_GT(failures, 0);
    }
}

// Opening a pipe would wait for a writer for good; it is refused at once.
TEST(DamagedHelpFile, APipeNamedLikeTheHelpFileIsRefusedAtOnce) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("Тремира.chm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(ChmArchive::open(kHelpReader, pipe).has_value());
    HelpWindow *window = tremira::testing::OpenHelp(pipe, 3);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(tremira::testing::ShownPage(window)->toPlainText().contains(kFailure));
}

}  // namespace
