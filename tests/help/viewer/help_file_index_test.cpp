#include <gtest/gtest.h>

#include "help/viewer/help_file_index.h"

namespace {

using namespace tremira::help;

QByteArray record(quint16 code, const QByteArray &data) {
    QByteArray bytes;
    bytes.append(char(code & 0xff)).append(char(code >> 8));
    bytes.append(char(data.size() & 0xff)).append(char(data.size() >> 8));
    return bytes + data;
}

// A 4-byte version, then records; reading stops at a record longer than the file.
TEST(HelpFileOptions, ReadsTitleDefaultTopicAndContentsFromTheCompilersRecords) {
    const QByteArray system = QByteArray("\x03\x00\x00\x00", 4) + record(9, "HHA Version 4.74.8702") +
                              record(0, QByteArray("contents.hhc\0", 13)) + record(2, QByteArray("obzor.htm\0", 10)) +
                              record(3, QStringLiteral("Тремира — справка").toUtf8() + '\0');
    const HelpFileOptions options = ParseHelpFileOptions(system);
    EXPECT_EQ(options.title, QStringLiteral("Тремира — справка"));
    EXPECT_EQ(options.defaultTopic, QStringLiteral("/obzor.htm"));
    EXPECT_EQ(options.contentsFile, QStringLiteral("/contents.hhc"));
    const HelpFileOptions cut = ParseHelpFileOptions(system.left(4) + record(2, "a.htm") + record(3, "title").left(6));
    EXPECT_EQ(cut.defaultTopic, QStringLiteral("/a.htm"));
    EXPECT_TRUE(cut.title.isEmpty());
}

TEST(HelpContents, ReadsNestedEntriesWithTheirDepth) {
    const QString sitemap = QStringLiteral(R"(<html><body><UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Обзор"><param name="Local" value="obzor.htm"></OBJECT>
<LI><object type="text/sitemap"><param name="Name" value="Ввод"></object>
<ul><li><object type="text/sitemap"><param name="Local" value="sub\tok.htm"><param name="Name" value="Ток"></object></ul>
<li><object type="text/sitemap"><param name="Name" value="Меню"><param name="Local" value="./menu.htm"></object>
<li><object type="text/sitemap"><param name="Local" value="nameless.htm"></object>
</UL></body></html>)");
    const QList<ContentsEntry> entries = ParseContents(sitemap);
    struct Expected {
        QString name, topic;
        int depth;
    };
    const QList<Expected> expected = {
        {QStringLiteral("Обзор"), QStringLiteral("/obzor.htm"), 0},
        {QStringLiteral("Ввод"), QString(), 0},
        {QStringLiteral("Ток"), QStringLiteral("/sub/tok.htm"), 1},
        {QStringLiteral("Меню"), QStringLiteral("/menu.htm"), 0},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name.toStdString());
        EXPECT_EQ(entries[i].name, expected[i].name);
        EXPECT_EQ(entries[i].topic, expected[i].topic);
        EXPECT_EQ(entries[i].depth, expected[i].depth);
    }
}

TEST(HelpContextMap, JoinsNumbersAndPagesFromSeparateHeaders) {
    const QStringList headers = {
        QStringLiteral("#define IDH_A 0\r\n#define IDH_B 3\n  #define IDH_C -7\n#define IDH_NOPAGE 4\n// note\n"),
        QStringLiteral("IDH_A=a.htm\r\nIDH_B = b.htm\nIDH_C=/c.htm\nIDH_NONUMBER=d.htm\n"),
    };
    const QHash<qint32, QString> map = ParseContextMap(headers);
    const QHash<qint32, QString> expected = {
        {0, QStringLiteral("/a.htm")},
        {3, QStringLiteral("/b.htm")},
        {-7, QStringLiteral("/c.htm")},
    };
    EXPECT_EQ(map, expected);
}

}  // namespace
