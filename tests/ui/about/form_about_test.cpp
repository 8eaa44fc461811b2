// The About window: its text, its layout, its keys and its two links.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/support/box_answerer.h"
#include "tests/support/fake_opener.h"
#include "ui/about/about_text.h"
#include "ui/about/form_about.h"

namespace {

using tremira::ui::FormAbout;

const QString kAboutText = QStringLiteral("Программа для расчета сварочных трансформаторов. В расчете используется "
                                          "метод Н.Условного(https://example.org/metod) \r"
                                          "Программа написана на C++20 и Qt " QT_VERSION_STR " \r"
                                          " и снабжена подробной справкой ");

template <typename Control = QLabel>
Control *control(const FormAbout &form, const char *name) {
    return form.findChild<Control *>(QLatin1String(name));
}

TEST(FormAboutText, IsTheSixPiecesJoinedByCarriageReturnsAndShownOnThreeLines) {
    EXPECT_EQ(tremira::ui::ComposeAboutText(), kAboutText);
    const FormAbout form;
    // On screen each carriage return starts a new line.
    EXPECT_EQ(control(form, "Label1")->text(), QString(kAboutText).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

TEST(FormAboutLayout, PlacesEachControlAsDrawnInTwips) {
    struct Control {
        const char *name;
        QRect geometry;  // pixels, 15 twips each
        const char *family;
        int pixels;  // 9 pt and 9.75 pt at 96 dpi
        bool bold;
        bool underline;
        QString text;
    };
    const Control controls[] = {
        {"Label1", {16, 8, 305, 81}, "Arial", 12, false, false, {}},
        {"Label2", {216, 88, 97, 17}, "MS Sans Serif", 13, true, true, QStringLiteral("a@example.org")},
        {"Command1", {128, 128, 89, 25}, "MS Sans Serif", 13, true, false, QStringLiteral("OK")},
        {"Label3", {16, 88, 201, 25}, "MS Sans Serif", 13, true, false, QStringLiteral("По всем вопросам пишите:")},
        {"Label4", {16, 104, 193, 17}, "MS Sans Serif", 13, true, false, QStringLiteral("Или на мой сайт:")},
        {"Label5", {216, 104, 113, 17}, "MS Sans Serif", 13, true, true, QStringLiteral("www.example.org")},
    };
    FormAbout form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("About Programm"));
    EXPECT_EQ(form.size(), QSize(335, 158));
    for (const Control &c : controls) {
        SCOPED_TRACE(c.name);
        auto *widget = form.findChild<QWidget *>(QLatin1String(c.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), c.geometry);
        EXPECT_EQ(widget->font().family(), QLatin1String(c.family));
        EXPECT_EQ(widget->font().pixelSize(), c.pixels);
        EXPECT_EQ(widget->font().bold(), c.bold);
        EXPECT_EQ(widget->font().underline(), c.underline);
        if (!c.text.isEmpty()) {
            EXPECT_EQ(widget->property("text").toString(), c.text);
        }
        const bool link = c.underline;
        EXPECT_EQ(widget->palette().color(QPalette::WindowText) == QColor(0, 0, 255), link);
        EXPECT_EQ(widget->testAttribute(Qt::WA_SetCursor), widget == control(form, "Label2"));
    }
    EXPECT_EQ(control(form, "Label2")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(control(form, "Label5")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE((control(form, "Label1")->alignment() & Qt::AlignHCenter) != 0);
    EXPECT_FALSE(control<QPushButton>(form, "Command1")->isDefault());
}

class FormAboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_form.open();
        QApplication::setActiveWindow(&m_form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    }
    FormAbout m_form;
};

TEST_F(FormAboutWindow, OpensWithTheFocusOnOkWhichAClickEnterOrEscapeClose) {
    EXPECT_TRUE(control<QPushButton>(m_form, "Command1")->hasFocus());
    QTest::mouseClick(control<QPushButton>(m_form, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(m_form.isVisible());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        m_form.open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        QTest::keyClick(control<QPushButton>(m_form, "Command1"), key);
        EXPECT_FALSE(m_form.isVisible());
    }
}

TEST_F(FormAboutWindow, TabReachesEachLinkAndEnterOrSpaceOpensIt) {
    struct Case {
        const char *name;
        Qt::Key move;
        int presses;
        const char *link;
        Qt::Key open;
        QString address;
    };
    const Case cases[] = {
        {"web site by Tab, Enter", Qt::Key_Tab, 1, "Label5", Qt::Key_Return, QStringLiteral("http://www.example.org")},
        {"e-mail by Tab twice, Space", Qt::Key_Tab, 2, "Label2", Qt::Key_Space, QStringLiteral("mailto:a@example.org")},
        {"e-mail by Shift+Tab, keypad Enter", Qt::Key_Backtab, 1, "Label2", Qt::Key_Enter,
         QStringLiteral("mailto:a@example.org")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        tremira::testing::FakeOpener opener;
        control<QPushButton>(m_form, "Command1")->setFocus();
        for (int i = 0; i < c.presses; ++i) QTest::keyClick(QApplication::focusWidget(), c.move);
        ASSERT_EQ(QApplication::focusWidget(), control(m_form, c.link));
        QTest::keyClick(QApplication::focusWidget(), c.open);
        ASSERT_TRUE(opener.waitForCall());
        EXPECT_EQ(opener.arguments(), QStringList{c.address});
        EXPECT_TRUE(m_form.isVisible());
    }
}

TEST_F(FormAboutWindow, TheMailLinkSendsTheFixedAddressFromTheProgramsFolder) {
    tremira::testing::FakeOpener opener;
    control(m_form, "Label2")->setText(QStringLiteral("other@example.net"));  // the link does not read its caption
    QTest::mouseClick(control(m_form, "Label2"), Qt::LeftButton);
    ASSERT_TRUE(opener.waitForCall());
    EXPECT_EQ(opener.arguments(), QStringList{QStringLiteral("mailto:a@example.org")});
    EXPECT_EQ(opener.workingFolder(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());
    EXPECT_TRUE(m_form.isVisible());
}

// The link opens the address its caption shows at the click (the built one in the Tab case).
TEST_F(FormAboutWindow, TheWebLinkOpensTheAddressItShowsAtTheClick) {
    tremira::testing::FakeOpener opener;
    control(m_form, "Label5")->setText(QStringLiteral("example.net/svarka"));
    QTest::mouseClick(control(m_form, "Label5"), Qt::LeftButton);
    ASSERT_TRUE(opener.waitForCall());
    EXPECT_EQ(opener.arguments(), QStringList{QStringLiteral("http://example.net/svarka")});
}

TEST_F(FormAboutWindow, TheWebLinkWithoutAnOpenerShowsTheFailureBoxAndStaysUsable) {
    tremira::testing::BoxAnswerer answerer;
    {
        tremira::testing::NoOpener noOpener;
        QTest::mouseClick(control(m_form, "Label5"), Qt::LeftButton);
    }
    const std::vector<tremira::testing::SeenBox> expected{
        {QStringLiteral("Ошибка отображения файла"),
         QStringLiteral("Не удалось запустить программу просмотра (xdg-open)"), QMessageBox::NoIcon, QMessageBox::Ok}};
    EXPECT_EQ(answerer.boxes(), expected);
    EXPECT_TRUE(m_form.isVisible());
    QTest::mouseClick(control<QPushButton>(m_form, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(m_form.isVisible());
}

}  // namespace
