// The handlers of the main window: calculate, core-section suggestion, exit.

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include "calc/design_calculation.h"
#include "help/context_help_filter.h"
#include "ui/fields/utf8_text.h"
#include "ui/fields/whole_text_tooltip.h"
#include "ui/main/form1.h"
#include "ui/main/message_box.h"

namespace tremira::ui {
namespace {

// The index of the entry whose text is shown, else -1: a typed text leaves Qt's current index
// where it was, so the shown text decides.
calc::Int16 listIndex(const QString &shown, const std::array<std::string_view, 2> &entries) {
    return calc::ListIndexOf(Utf8View(shown.toUtf8()), entries);
}

// UTF-8 copies of the input texts, alive as long as the DesignInput that points into them.
struct InputTexts {
    QByteArray mainsVoltage, outputVoltage, weldingCurrent, coreSection, induction;

    calc::DesignInput designInput(const QComboBox *materialI, const QComboBox *materialII,
                                  const QComboBox *coreType) const {
        return {.mainsVoltage = Utf8View(mainsVoltage),
                .outputVoltage = Utf8View(outputVoltage),
                .weldingCurrent = Utf8View(weldingCurrent),
                .coreSection = Utf8View(coreSection),
                .induction = Utf8View(induction),
                .materialI = listIndex(materialI->currentText(), calc::kMaterialEntries),
                .materialII = listIndex(materialII->currentText(), calc::kMaterialEntries),
                .coreType = listIndex(coreType->currentText(), calc::kCoreTypeEntries)};
    }
};

// A result wider than its field shows its leading digits, not its tail, and the whole as a
// tooltip.
void writeResult(QLineEdit *field, const std::string &text) {
    field->setText(ToQString(text));
    field->setCursorPosition(0);
    ShowCutTextAsToolTip(field);
}

}  // namespace

void Form1::calculateDesign() {
    const InputTexts texts{.mainsVoltage = m_inputs.Text4->text().toUtf8(),
                           .outputVoltage = m_inputs.Text3->text().toUtf8(),
                           .weldingCurrent = m_inputs.Text2->text().toUtf8(),
                           .coreSection = m_inputs.Text1->text().toUtf8(),
                           .induction = m_inputs.Text10->text().toUtf8()};
    applyOutcome(calc::CalculateDesign(texts.designInput(m_inputs.Combo1, m_inputs.Combo2, m_inputs.Combo3)));
}

void Form1::applyOutcome(const calc::DesignOutcome &outcome) {
    if (outcome.substitutedCoreSection) {
        m_inputs.Text1->setText(ToQString(calc::FormatDouble(*outcome.substitutedCoreSection)));
    }
    for (const calc::UserMessage &message : outcome.messages) ShowUserMessage(this, message);

    switch (outcome.afterMessages) {
    case calc::AfterMessageAction::None: break;
    case calc::AfterMessageAction::ClearCoreSection: m_inputs.Text1->clear(); break;
    case calc::AfterMessageAction::FocusOutputVoltage: m_inputs.Text3->setFocus(); break;
    case calc::AfterMessageAction::FocusCoreSection: m_inputs.Text1->setFocus(); break;
    }

    if (outcome.status != calc::Status::Completed || !outcome.results || !outcome.inputs) return;
    const calc::ResultNumbers &results = *outcome.results;
    writeResult(m_results.Text5, calc::FormatInt16(results.overallPower));
    writeResult(m_results.Text6, calc::FormatInt16(results.w1));
    writeResult(m_results.Text7, calc::FormatInt16(results.w2));
    writeResult(m_results.Text8, calc::FormatInt16(results.q1));
    writeResult(m_results.Text9, calc::FormatInt16(results.q2));
    writeResult(m_results.Text11, calc::FormatInt16(results.requiredPower));
    writeResult(m_results.Text12, calc::FormatSingle(results.i1));
    m_menus.MFsave->setEnabled(true);
    m_menus.MFprint->setEnabled(true);
    m_menus.MScheck->setEnabled(true);
    m_calculated = ShownDesign{.snapshot = snapshot(), .inputs = *outcome.inputs, .results = results};
}

// Whether the fields still hold the inputs of the last completed calculation; when not, a box
// asks for a new calculation first.
bool Form1::requireCalculatedDesign() {
    if (m_calculated && m_calculated->snapshot == snapshot()) return true;
    ShowMessage(this, QStringLiteral("Исходные данные изменены после расчета! Сначала нажмите кнопку «Рассчитать»."),
                QString(), QMessageBox::Warning);
    return false;
}

void Form1::suggestCoreSection() {
    const QByteArray current = m_inputs.Text2->text().toUtf8();
    if (const auto section = calc::SuggestCoreSection(
            Utf8View(current), listIndex(m_inputs.Combo3->currentText(), calc::kCoreTypeEntries))) {
        m_inputs.Text1->setText(ToQString(*section));
    }
}

void Form1::showDesignCheck() {
    if (!requireCalculatedDesign()) return;
    // Built anew for each opening, with what was typed at the last one.
    FormCheck check(*m_calculated, *m_contextHelp, this);
    check.setSheetFolder(reportFolder());
    if (m_checkTyped) check.setTypedTexts(*m_checkTyped);
    check.exec();
    m_checkTyped = check.typedTexts();
}

void Form1::exitProgram() { QCoreApplication::exit(0); }

}  // namespace tremira::ui
