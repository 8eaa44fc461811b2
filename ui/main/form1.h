#pragma once
// The main window: every input and result of a design is the text of one of its fields.

#include <QMainWindow>
#include <QString>

#include <optional>

#include "help/viewer_call.h"
#include "reports/design_snapshot.h"
#include "ui/check/form_check.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tremira::calc {
struct DesignOutcome;
}

namespace tremira::help {
class ContextHelpFilter;
enum class HelpTopic : qint32;
}  // namespace tremira::help

namespace tremira::ui {

class NumericEntryFilter;

class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // programFolder: the folder of the report file and the help file, without a trailing "/".
    // helpViewer: where the help command and F1 send their requests.
    // printModule: the print module that the print command loads (reports::PrintModulePath).
    Form1(const QString &programFolder, help::ViewerCall helpViewer, const QString &printModule,
          QWidget *parent = nullptr);

    // The texts of the fields as they stand now.
    reports::DesignSnapshot snapshot() const;

private:
    void createInputFrame();
    void createResultFrame();
    void createButtons();
    void createMenus();
    void connectHandlers();
    void arrangeTabOrder();
    void startUp();

    QLineEdit *addField(const char *name, int left, int top, int width, int height);
    QComboBox *addOptionList(const char *name, int left, int top);
    QLineEdit *addResultField(const char *name, int left, int top, int width, int height);
    void addLabel(const char *name, const char *caption, int left, int top, int width, QWidget *buddy,
                  int heightTwips = 255);
    void addFrame(const char *name, const char *caption, int top, int height, const QColor &captionColour);
    QPushButton *addButton(const char *name, const char *caption, int left);
    QAction *addMenuItem(QMenu *menu, const char *name, const char *caption, help::HelpTopic topic);

    // Handlers (form1_handlers.cpp, form1_reports.cpp, form1_help.cpp).
    void calculateDesign();
    void applyOutcome(const calc::DesignOutcome &outcome);
    bool requireCalculatedDesign();
    void suggestCoreSection();
    void exitProgram();
    // The folder that report.txt goes to, which the workshop sheet offers first too.
    QString reportFolder() const;
    void saveReport();
    void printReport();
    void showHelpContents();
    void showAbout();
    void showDesignCheck();

    struct {
        QLineEdit *Text4 = nullptr;   // mains voltage, V
        QLineEdit *Text3 = nullptr;   // output voltage, V
        QLineEdit *Text2 = nullptr;   // maximum welding current, A
        QLineEdit *Text1 = nullptr;   // core cross-section, cm²
        QLineEdit *Text10 = nullptr;  // maximum core induction, T
        QComboBox *Combo1 = nullptr;  // material of winding I
        QComboBox *Combo2 = nullptr;  // material of winding II
        QComboBox *Combo3 = nullptr;  // core type
    } m_inputs;

    // Written only by the calculation.
    struct {
        QLineEdit *Text5 = nullptr;   // overall power, W
        QLineEdit *Text6 = nullptr;   // turns of winding I
        QLineEdit *Text7 = nullptr;   // turns of winding II
        QLineEdit *Text8 = nullptr;   // wire cross-section of winding I
        QLineEdit *Text9 = nullptr;   // wire cross-section of winding II
        QLineEdit *Text11 = nullptr;  // required power, W
        QLineEdit *Text12 = nullptr;  // maximum current of winding I, A
    } m_results;

    struct {
        QPushButton *cndCalc = nullptr;
        QPushButton *cndExit = nullptr;
    } m_buttons;

    struct {
        QMenu *mfile = nullptr;
        QAction *MFsave = nullptr;
        QAction *MFprint = nullptr;
        QAction *MFexit = nullptr;
        QMenu *MHelp = nullptr;
        QAction *MHelpHTML = nullptr;
        QAction *MHabout = nullptr;
        QMenu *MService = nullptr;
        QAction *MScheck = nullptr;
    } m_menus;

    const QString m_curDir;  // CurDir: the program's folder, without a trailing "/"
    help::ViewerCall m_helpViewer;
    const QString m_printModule;
    help::ContextHelpFilter *m_contextHelp = nullptr;
    QWidget *m_client = nullptr;
    NumericEntryFilter *m_numericFilter = nullptr;
    // The fields as the last completed calculation left them, with its numbers: the reports and
    // the check pair only these inputs with these results.
    std::optional<ShownDesign> m_calculated;
    // What the user typed in the check window, kept for its next opening during this run.
    std::optional<FormCheck::TypedTexts> m_checkTyped;
};

}  // namespace tremira::ui
