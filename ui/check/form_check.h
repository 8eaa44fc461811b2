#pragma once
// The window "Проверка и план намотки": on its first page the design as the main window shows
// it, read-only, and the check of it (fill of the core window, wire, no-load voltage, test
// winding); on its second the winding plan, which takes the core window typed on the first; on
// its third the welding current of each tap, the choke and the heating, with their chart.
// Worked out again at every typed key, from each typed field read once. Modal to the main
// window alone, so that the help it opens takes input; built anew for each opening, with what
// was typed at the last one.

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

#include "calc/design_calculation.h"
#include "calc/design_check.h"
#include "reports/design_snapshot.h"
#include "reports/plan_sheet.h"

class QBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class FigureGroup;
class NumericEntryFilter;
class FigurePanel;
class WeldChart;
class WindingDrawing;
class ConnectionDiagram;

// The main window's calculated design: the texts its fields show, and the numbers the
// calculation worked from and gave, which the check works from.
struct ShownDesign {
    reports::DesignSnapshot snapshot;
    calc::InputNumbers inputs;
    calc::ResultNumbers results{};
};

// Asks where to save the workshop sheet, starting from `suggested`; empty when the user declines.
using SheetPathChooser = std::function<QString(QWidget *parent, const QString &suggested)>;

class FormCheck : public QDialog {
    Q_OBJECT
public:
    // Every field and button takes F1 to the check's topic through contextHelp.
    FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent = nullptr);

    // The folder "Сохранить лист…" offers first: the one the report goes to.
    void setSheetFolder(const QString &folder);
    // A file dialog unless set otherwise.
    void setSheetPathChooser(SheetPathChooser chooser);

    // The texts of the typed fields, in the order of calc::TypedFields, to be given back at the
    // next opening.
    using TypedTexts = std::array<QString, 20>;
    TypedTexts typedTexts() const;
    void setTypedTexts(const TypedTexts &texts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Enter presses the focused button; in a field it presses none.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The check's sections in two columns, scrolled when the window is smaller than they are.
    QScrollArea *createCheckPage();
    QScrollArea *createPlanPage();
    QScrollArea *createWeldPage();
    QScrollArea *scrolled(QWidget *page);
    QWidget *createColumn(std::initializer_list<std::size_t> sections);
    QLayout *createButtons();
    // Side by side when both columns fit the page's width, else one under the other.
    void arrangeColumns();
    // The drawing and the connection diagram likewise.
    void arrangePlanPictures();
    // As large as the whole page, but no larger than the screen's free area.
    QSize openingSize() const;

    // The typed field or choice `name` on any page; none for a toroid's window height.
    QWidget *typedField(QStringView name) const;
    // Every typed field read once; the check and the plan worked out and shown.
    void recalculate();
    calc::CheckOutcome checkOf(const calc::TypedFields &typed) const;
    // The check's, the plan's and the welding page's sections, as the sheet and the clipboard give them.
    std::vector<calc::FigureSection> allSections() const;
    QString summary() const;
    void copySummary() const;
    void saveSheet();
    // A field given the focus is scrolled into view on its page.
    static void scrollIntoView(QWidget *field);
    static void keepWrappedTextWhole(QWidget *page);

    ShownDesign m_design;
    help::ContextHelpFilter &m_contextHelp;
    NumericEntryFilter *m_numericFilter = nullptr;
    calc::CheckOutcome m_outcome;
    std::vector<FigureGroup *> m_checkGroups;  // one per section of the check, in its order
    QString m_sheetFolder;
    SheetPathChooser m_chooseSheetPath;
    QTabWidget *m_pages = nullptr;
    FigurePanel *m_plan = nullptr;
    WindingDrawing *m_drawing = nullptr;
    ConnectionDiagram *m_diagram = nullptr;
    QBoxLayout *m_planPictures = nullptr;  // the drawing and the connection diagram
    FigurePanel *m_weld = nullptr;
    WeldChart *m_chart = nullptr;

    struct {
        QScrollArea *scroll = nullptr;
        QBoxLayout *columns = nullptr;
        QWidget *design = nullptr;
        QWidget *check = nullptr;
    } m_page;

    // The typed fields and choices, in the order of calc::TypedFields; a toroid has no window
    // height and no arrangement.
    std::array<QWidget *, 20> m_typed{};

    QPushButton *m_copy = nullptr;
    QLineEdit *m_designName = nullptr;  // the sheet's name; blank for the default
    QPushButton *m_saveSheet = nullptr;
    QPushButton *m_close = nullptr;
    QLabel *m_sheetStatus = nullptr;  // where the last sheet went, or why it did not
};

}  // namespace tremira::ui
