// The handlers of the main window: calculate, core-section suggestion, exit.

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include "calc/design_calculation.h"
#include "ui/fields/calc_text.h"
#include "ui/main/form1.h"
#include "ui/main/message_box.h"

namespace tremira::ui {
namespace {

// The index of the entry whose text is shown, else -1: a typed text leaves Qt's current index
// where it was, so the shown text decides.
calc::Int16 listIndex(const QComboBox *list, const std::array<std::string_view, 2> &entries) {
    return calc::ListIndexOf(asView(list->currentText().toUtf8()), entries);
}

// UTF-8 copies of the input texts, alive as long as the DesignInput that points into them.
struct InputTexts {
    QByteArray mainsVoltage, outputVoltage, weldingCurrent, coreSection, induction;

    calc::DesignInput designInput(const QComboBox *materialI, const QComboBox *materialII,
                                  const QComboBox *coreType) const {
        return {asView(mainsVoltage),
                asView(outputVoltage),
                asView(weldingCurrent),
                asView(coreSection),
                asView(induction),
                listIndex(materialI, calc::kMaterialEntries),
                listIndex(materialII, calc::kMaterialEntries),
                listIndex(coreType, calc::kCoreTypeEntries)};
    }
};

// A result wider than its field shows its leading digits, not its tail.
void writeResult(QLineEdit *field, const std::string &text) {
    field->setText(toQString(text));
    field->setCursorPosition(0);
}

}  // namespace

void Form1::calculateDesign() {
    const InputTexts texts{Text4->text().toUtf8(), Text3->text().toUtf8(), Text2->text().toUtf8(),
                           Text1->text().toUtf8(), Text10->text().toUtf8()};
    applyOutcome(calc::CalculateDesign(texts.designInput(Combo1, Combo2, Combo3)));
}

void Form1::applyOutcome(const calc::DesignOutcome &outcome) {
    if (outcome.substitutedCoreSection) Text1->setText(toQString(*outcome.substitutedCoreSection));
    for (const calc::UserMessage &message : outcome.messages) ShowUserMessage(this, message);

    switch (outcome.afterMessages) {
    case calc::AfterMessageAction::None: break;
    case calc::AfterMessageAction::ClearCoreSection: Text1->clear(); break;
    case calc::AfterMessageAction::FocusOutputVoltage: Text3->setFocus(); break;
    case calc::AfterMessageAction::FocusCoreSection: Text1->setFocus(); break;
    }

    if (outcome.status != calc::Status::Completed || !outcome.results) return;
    const calc::DesignResults &results = *outcome.results;
    writeResult(Text5, results.Text5);
    writeResult(Text6, results.Text6);
    writeResult(Text7, results.Text7);
    writeResult(Text8, results.Text8);
    writeResult(Text9, results.Text9);
    writeResult(Text11, results.Text11);
    writeResult(Text12, results.Text12);
    MFsave->setEnabled(true);
    MFprint->setEnabled(true);
}

void Form1::suggestCoreSection() {
    const QByteArray current = Text2->text().toUtf8();
    if (const auto section = calc::SuggestCoreSection(asView(current), listIndex(Combo3, calc::kCoreTypeEntries))) {
        Text1->setText(toQString(*section));
    }
}

void Form1::exitProgram() { QCoreApplication::exit(0); }

}  // namespace tremira::ui
