// The built help file itself: every help number of the program has its page, and every
// page, picture, style sheet and contents entry that a page refers to is in the file.
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "help/viewer/chm_archive.h"
#include "help/viewer/help_file_index.h"

namespace {

using namespace tremira::help;

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_archive = ChmArchive::open(QStringLiteral(TREMIRA_HELP_READER), QStringLiteral(TREMIRA_HELP_FILE));
        ASSERT_TRUE(m_archive.has_value());
    }

    QString text(const QString &path) const { return QString::fromUtf8(m_archive->read(path).value_or(QByteArray())); }

    QStringList pages() const { return m_archive->files().filter(QRegularExpression(QStringLiteral("\\.htm$"))); }

    std::optional<ChmArchive> m_archive;
};

TEST_F(HelpFile, EveryHelpNumberLeadsToItsPage) {
    const QHash<qint32, QString> map =
        ParseContextMap({text(QStringLiteral("/context_ids.h")), text(QStringLiteral("/context_alias.h"))});
    struct Topic {
        qint32 number;
        const char *page;
        QString title;
    };
    const Topic topics[] = {
        {0, "/obzor.htm", QStringLiteral("Тремира — расчет сварочного трансформатора")},
        {1, "/napryazhenie_seti.htm", QStringLiteral("Входное напряжение")},
        {2, "/vyhodnoe_napryazhenie.htm", QStringLiteral("Выходное напряжение")},
        {3, "/tok_svarki.htm", QStringLiteral("Максимальный ток сварки")},
        {4, "/sechenie_serdechnika.htm", QStringLiteral("Сечение сердечника")},
        {5, "/tip_serdechnika.htm", QStringLiteral("Тип сердечника и материал обмоток")},
        {6, "/indukciya.htm", QStringLiteral("Максимальная индукция и выход из программы")},
        {7, "/menyu_fajl.htm", QStringLiteral("Меню «Файл»: запись и печать")},
        {8, "/menyu_pomoshch.htm", QStringLiteral("Меню «Помощь»")},
        {9, "/proverka_konstrukcii.htm", QStringLiteral("Проверка конструкции")},
        {10, "/plan_namotki.htm", QStringLiteral("План намотки")},
        {11, "/tok_i_nagrev.htm", QStringLiteral("Ток и нагрев")},
    };
    for (const Topic &topic : topics) {
        SCOPED_TRACE(topic.number);
        EXPECT_EQ(map.value(topic.number), QLatin1String(topic.page));
        EXPECT_TRUE(text(QLatin1String(topic.page)).contains(QStringLiteral("<title>%1</title>").arg(topic.title)));
    }
}

TEST_F(HelpFile, OpensAtTheOverviewWithItsContents) {
    const HelpFileOptions options =
        ParseHelpFileOptions(m_archive->read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    EXPECT_EQ(options.defaultTopic, QStringLiteral("/obzor.htm"));
    EXPECT_EQ(options.title, QStringLiteral("Тремира — справка"));
    const QList<ContentsEntry> contents = ParseContents(text(options.contentsFile));
    EXPECT_EQ(contents.size(), 14);
    for (const ContentsEntry &entry : contents) {
        SCOPED_TRACE(entry.name.toStdString());
        EXPECT_TRUE(entry.topic.isEmpty() || m_archive->contains(entry.topic));
    }
}

TEST_F(HelpFile, PagesAreUtf8AndEveryReferenceIsInTheFile) {
    static const QRegularExpression reference(QStringLiteral(R"re((?:href|src)="([^"#]+)")re"));
    EXPECT_EQ(pages().size(), 13);
    for (const QString &page : pages()) {
        SCOPED_TRACE(page.toStdString());
        const QString html = text(page);
        EXPECT_TRUE(html.contains(QStringLiteral("charset=utf-8")));
        EXPECT_TRUE(html.contains(QStringLiteral(R"(<link rel="stylesheet" type="text/css" href="style.css">)")));
        for (const QRegularExpressionMatch &match : reference.globalMatch(html)) {
            SCOPED_TRACE(match.captured(1).toStdString());
            EXPECT_TRUE(m_archive->contains(StoredPath(match.captured(1))));
        }
    }
}

}  // namespace
