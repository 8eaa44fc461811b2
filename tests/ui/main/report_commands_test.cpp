// The report commands from the real window's menu: the question box, the file they write,
// and the boxes of their failures; they and the design check act only on the calculated design.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>

#include <functional>

#include "tests/reports/file_bytes.h"
#include "tests/reports/run_a_report.h"
#include "tests/support/box_answerer.h"
#include "tests/support/modal_answerer.h"
#include "tests/ui/main/form1_fixture.h"

namespace tremira::ui {
namespace {

struct SeenBox {
    QString title;
    QString text = {};
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool yesIsDefault = false;
    QList<QMessageBox::StandardButton> visibleButtons = {};
};

// Answers each modal box as told, in order, and records what it showed; any other modal
// window (the design check) is recorded by its title and closed.
class BoxAnswers {
public:
    explicit BoxAnswers(QList<std::function<void(QMessageBox *)>> answers)
        : m_answers(std::move(answers)), m_answerer([this](QWidget *window) { answer(window); }) {}

    QList<SeenBox> seen;

private:
    void answer(QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box) {
            seen.append({.title = window->windowTitle()});
            window->close();
            return;
        }
        if (seen.size() >= m_answers.size()) return;
        QList<QMessageBox::StandardButton> visible;
        for (QAbstractButton *button : box->buttons()) {
            if (button->isVisible()) visible.append(box->standardButton(button));
        }
        seen.append({box->windowTitle(), box->text(), box->icon(),
                     box->defaultButton() && box->defaultButton() == box->button(QMessageBox::Yes), visible});
        m_answers[seen.size() - 1](box);
    }

    QList<std::function<void(QMessageBox *)>> m_answers;
    testing::ModalAnswerer m_answerer;
};

std::function<void(QMessageBox *)> pressKey(Qt::Key key) {
    return [key](QMessageBox *box) { QTest::keyClick(box, key); };
}

std::function<void(QMessageBox *)> clickButton(QMessageBox::StandardButton button) {
    return [button](QMessageBox *box) { QTest::mouseClick(box->button(button), Qt::LeftButton); };
}

using reports::test::ReadBytes;
using reports::test::WriteBytes;

// Line 2 carries the clock; every other byte is the reference run's.
QList<QByteArray> withoutStamp(const QByteArray &report) {
    QList<QByteArray> lines = report.split('\n');
    if (lines.size() > 1) lines[1] = "<stamp>";
    return lines;
}

class ReportCommands : public ::testing::Test {
protected:
    // The CUPS client reads these at its first printer query: a server that does not exist
    // leaves no printer as the default.
    static void SetUpTestSuite() {
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
    }

    void SetUp() override {
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
        // The reference run, calculated by the window itself.
        QTest::keyClicks(m_ui.Text2, u"160"_qs);
        QTest::mouseClick(m_ui.cndCalc, Qt::LeftButton);
        ASSERT_TRUE(m_ui.MFsave->isEnabled());
        m_fieldsBefore = fieldTexts();
    }

    void chooseFromMenu(QMenu *menu, QAction *item) {
        ASSERT_TRUE(user::openMenu(m_form, menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    QStringList fieldTexts() const {
        QStringList texts;
        for (const QLineEdit *field : m_form.findChildren<QLineEdit *>()) texts.append(field->text());
        for (const QComboBox *list : m_form.findChildren<QComboBox *>()) texts.append(list->currentText());
        return texts;
    }

    QTemporaryDir m_folder;
    QString m_path = m_folder.filePath(u"report.txt"_qs);
    tremira::testing::ViewerRecorder m_helpViewer;
    Form1 m_form{m_folder.path(), m_helpViewer.call(),
                 reports::PrintModulePath(QCoreApplication::applicationDirPath())};
    const Form1Controls m_ui{m_form};
    QStringList m_fieldsBefore;
};

TEST_F(ReportCommands, SaveAsksOnceAndYesAppendsTheReport) {
    const QByteArray old("earlier report without line end");
    WriteBytes(m_path, old);
    BoxAnswers boxes({pressKey(Qt::Key_Return)});
    chooseFromMenu(m_ui.mfile, m_ui.MFsave);

    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].title, u"Запись результата в файл"_qs);
    EXPECT_EQ(boxes.seen[0].text, u"Добавить результат в файл(Да) или записать как новый(Нет)?"_qs);
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(boxes.seen[0].yesIsDefault);
    EXPECT_EQ(boxes.seen[0].visibleButtons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    const QByteArray bytes = ReadBytes(m_path);
    ASSERT_TRUE(bytes.startsWith(old + "\r\n\xc4\xe0\xf2\xe0: "));
    EXPECT_EQ(withoutStamp(bytes.mid(old.size())), withoutStamp(reports::test::RunAReportBytes()));
    EXPECT_EQ(fieldTexts(), m_fieldsBefore);
}

// No, which replaces the file, is answered below.
TEST_F(ReportCommands, EscapeOnTheQuestionWritesNothing) {
    const QByteArray old = reports::test::RunAReportBytes() + "kept";
    WriteBytes(m_path, old);
    BoxAnswers boxes({pressKey(Qt::Key_Escape)});
    chooseFromMenu(m_ui.mfile, m_ui.MFsave);
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(ReadBytes(m_path), old);
}

TEST_F(ReportCommands, AFileThatCannotBeWrittenShowsTheErrorBoxWithThePath) {
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(u"report.txt"_qs));
    BoxAnswers boxes({pressKey(Qt::Key_Return), clickButton(QMessageBox::Ok)});
    chooseFromMenu(m_ui.mfile, m_ui.MFsave);

    ASSERT_EQ(boxes.seen.size(), 2);
    EXPECT_EQ(boxes.seen[1].icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes.seen[1].text.contains(QDir::toNativeSeparators(m_path))) << boxes.seen[1].text.toStdString();
    EXPECT_TRUE(boxes.seen[1].text.endsWith(u"\n\nЭто папка, а не файл."_qs)) << boxes.seen[1].text.toStdString();
    EXPECT_TRUE(QFileInfo(m_path).isDir());
    EXPECT_EQ(fieldTexts(), m_fieldsBefore);
}

// A list's entry chosen, then that undone and a typed field refused by the calculation.
TEST_F(ReportCommands, SaveOrPrintOrCheckOfAChangedDesignOnlyAskForANewCalculation) {
    const std::function<void()> changes[] = {[this] { user::choose(m_ui.Combo2, 1); },
                                             [this] {
                                                 user::choose(m_ui.Combo2, 0);
                                                 user::retype(m_ui.Text3, u"47"_qs);
                                                 const testing::BoxAnswerer answerer;
                                                 user::click(m_ui.cndCalc);
                                             }};
    for (const auto &change : changes) {
        change();
        const QStringList changedFields = fieldTexts();
        ASSERT_NE(changedFields, m_fieldsBefore);
        for (const auto &[menu, item] : {std::pair{m_ui.mfile, m_ui.MFsave}, std::pair{m_ui.mfile, m_ui.MFprint},
                                         std::pair{m_ui.MService, m_ui.MScheck}}) {
            SCOPED_TRACE(item->objectName().toStdString());
            // Escape answers every box there might be: the question writes nothing then.
            BoxAnswers boxes({pressKey(Qt::Key_Escape), pressKey(Qt::Key_Escape), pressKey(Qt::Key_Escape)});
            chooseFromMenu(menu, item);
            ASSERT_EQ(boxes.seen.size(), 1);
            EXPECT_EQ(boxes.seen[0].title.toStdString(), "Тремира");
            EXPECT_EQ(boxes.seen[0].text.toStdString(),
                      "Исходные данные изменены после расчета! Сначала нажмите кнопку «Рассчитать».");
            EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
            EXPECT_EQ(boxes.seen[0].visibleButtons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
            EXPECT_FALSE(QFileInfo::exists(m_path));
            EXPECT_EQ(fieldTexts(), changedFields);
        }
    }
}

// SetUpTestSuite() points the CUPS client at a server that does not exist.
TEST_F(ReportCommands, DesignChangedAndTypedBackIsSavedPrintedAndChecked) {
    user::retype(m_ui.Text2, u"500"_qs);
    user::retype(m_ui.Text2, u"160"_qs);
    ASSERT_EQ(fieldTexts(), m_fieldsBefore);

    BoxAnswers boxes({clickButton(QMessageBox::No), clickButton(QMessageBox::Ok)});
    chooseFromMenu(m_ui.mfile, m_ui.MFsave);
    chooseFromMenu(m_ui.mfile, m_ui.MFprint);
    chooseFromMenu(m_ui.MService, m_ui.MScheck);

    ASSERT_EQ(boxes.seen.size(), 3);
    EXPECT_EQ(boxes.seen[0].title, u"Запись результата в файл"_qs);
    EXPECT_EQ(withoutStamp(ReadBytes(m_path)), withoutStamp(reports::test::RunAReportBytes()));
    EXPECT_EQ(boxes.seen[1].icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes.seen[1].text.contains(u"Принтер по умолчанию не задан"_qs)) << boxes.seen[1].text.toStdString();
    EXPECT_EQ(boxes.seen[2].title.toStdString(), "Проверка и план намотки");
    EXPECT_EQ(fieldTexts(), m_fieldsBefore);
}

}  // namespace
}  // namespace tremira::ui
