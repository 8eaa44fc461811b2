// Qt's own texts in Russian, read from Qt's translation file when first asked for.

#include <QCoreApplication>
#include <QLibraryInfo>

#include <gtest/gtest.h>

#include "ui/main/qt_texts.h"

namespace {

using tremira::ui::QtTextsOnFirstUse;

QString qtTranslations() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

TEST(QtTextsOnFirstUse, ReadsTheFileWhenFirstAskedAndTranslatesFromIt) {
    const QtTextsOnFirstUse texts(QStringLiteral("qtbase_ru"), qtTranslations());
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_EQ(texts.translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.translate("QPlatformTheme", "No such text"), QString());
}

TEST(QtTextsOnFirstUse, MissingFileLeavesQtsOwnTexts) {
    const QtTextsOnFirstUse texts(QStringLiteral("qtbase_xx"), qtTranslations());
    EXPECT_EQ(texts.translate("QPlatformTheme", "Cancel"), QString());
    EXPECT_TRUE(texts.isEmpty());
}

// The test program's application is prepared as the program's is (prepared_application.cpp).
TEST(PrepareApplication, GivesQtsBoxButtonsInRussian) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));
}

}  // namespace
