#pragma once
// The About window: what the program is, and links to the author's e-mail and web site.
// A fresh window is built for each opening and shown modally.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tremira::ui {

class LinkLabel;

class FormAbout : public QDialog {
    Q_OBJECT
public:
    explicit FormAbout(QWidget *parent = nullptr);

private:
    void createControls();
    void connectHandlers();
    void openMail();
    void openWebSite();

    QLabel *Label1 = nullptr;
    LinkLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    LinkLabel *Label5 = nullptr;
};

}  // namespace tremira::ui
