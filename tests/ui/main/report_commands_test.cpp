// The report commands from the real window's menu: the question box, the file they write,
// and the boxes of their failures; they and the design check act only on the calculated design.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "tests/reports/file_bytes.h"
#include "tests/reports/run_a_report.h"
#include "tests/support/box_answerer.h"
#include "tests/support/modal_answerer.h"
#include "tests/ui/main/form1_fixture.h"
#include "ui/main/form1.h"

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
        ASSERT_EQ(m_ui.Text12->text(), u"48,19277"_qs);
        ASSERT_TRUE(m_ui.MFsave->isEnabled());
        m_fieldsBefore = fieldTexts();
    }

    void chooseFromMenu(QMenu *menu, QAction *item) {
        QMenuBar *bar = m_form.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
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

TEST_F(ReportCommands, NoReplacesTheFileWithOneReport) {
    WriteBytes(m_path, reports::test::RunAReportBytes() + reports::test::RunAReportBytes());
    BoxAnswers boxes({clickButton(QMessageBox::No)});
    chooseFromMenu(m_ui.mfile, m_ui.MFsave);

    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(withoutStamp(ReadBytes(m_path)), withoutStamp(reports::test::RunAReportBytes()));
}

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

// SetUpTestSuite() points the CUPS client at a server that does not exist.
TEST_F(ReportCommands, PrintWithoutDefaultPrinterSaysSoInAnErrorBox) {
    BoxAnswers boxes({clickButton(QMessageBox::Ok)});
    chooseFromMenu(m_ui.mfile, m_ui.MFprint);

    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes.seen[0].text.contains(u"Принтер по умолчанию не задан"_qs)) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(fieldTexts(), m_fieldsBefore);
}

// A command the design reaches from the menu bar.
struct DesignCommand {
    const char *name;
    QMenu *const Form1Controls::*menu;
    QAction *const Form1Controls::*item;
};

const DesignCommand kDesignCommands[] = {
    {"save", &Form1Controls::mfile, &Form1Controls::MFsave},
    {"print", &Form1Controls::mfile, &Form1Controls::MFprint},
    {"check", &Form1Controls::MService, &Form1Controls::MScheck},
};

struct DesignChange {
    const char *name;
    std::function<void(const Form1Controls &)> make;
};

void PrintTo(const DesignChange &change, std::ostream *out) { *out << change.name; }

void calculate(const Form1Controls &ui) {
    const testing::BoxAnswerer answerer;
    user::click(ui.cndCalc);
}

const DesignChange kDesignChanges[] = {
    {"CurrentTypedWithoutRecalculating", [](const Form1Controls &ui) { user::retype(ui.Text2, u"500"_qs); }},
    {"MaterialChosen", [](const Form1Controls &ui) { user::choose(ui.Combo2, 1); }},
    {"RefusedCalculation",
     [](const Form1Controls &ui) {
         user::retype(ui.Text3, u"47"_qs);
         calculate(ui);
     }},
    {"FailedCalculation",
     [](const Form1Controls &ui) {
         user::retype(ui.Text4, u"40000"_qs);
         calculate(ui);
     }},
};

class ChangedDesign : public ReportCommands, public ::testing::WithParamInterface<DesignChange> {};

TEST_P(ChangedDesign, SaveOrPrintOrCheckOnlyAskForANewCalculation) {
    GetParam().make(m_ui);
    const QStringList changedFields = fieldTexts();
    ASSERT_NE(changedFields, m_fieldsBefore);
    for (const DesignCommand &command : kDesignCommands) {
        SCOPED_TRACE(command.name);
        // Escape answers every box there might be: the question writes nothing then.
        BoxAnswers boxes({pressKey(Qt::Key_Escape), pressKey(Qt::Key_Escape), pressKey(Qt::Key_Escape)});
        chooseFromMenu(m_ui.*command.menu, m_ui.*command.item);

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

INSTANTIATE_TEST_SUITE_P(AfterTheCalculation, ChangedDesign, ::testing::ValuesIn(kDesignChanges),
                         [](const auto &info) { return std::string(info.param.name); });

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
    EXPECT_TRUE(boxes.seen[1].text.contains(u"Принтер по умолчанию не задан"_qs)) << boxes.seen[1].text.toStdString();
    EXPECT_EQ(boxes.seen[2].title.toStdString(), "Проверка и план намотки");
}

}  // namespace
}  // namespace tremira::ui
