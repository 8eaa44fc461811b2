#include "ui/about/form_about.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "colours/readable_colour.h"
#include "platform/url_opener.h"
#include "ui/about/about_text.h"
#include "ui/about/link_label.h"
#include "ui/layout/twips_layout.h"

namespace tremira::ui {

namespace {

// Font sizes in pixels: 9 pt and 9.75 pt at 96 dpi.
QFont captionFont(bool underline = false) {
    QFont font = PixelFont(13, QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    font.setUnderline(underline);
    return font;
}

template <typename Control>
Control *place(Control *control, const QString &name, const QRect &geometry, const QFont &font) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setFont(font);
    return control;
}

// The window's own pure blue, made readable on a dark background.
void makeLink(QLabel *label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colours::FixedColourOn(QColor(0, 0, 255), palette.color(QPalette::Window)));
    label->setPalette(palette);
}

}  // namespace

FormAbout::FormAbout(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Programm"));
    setFixedSize(TwipsRect(0, 0, 5025, 2370).size());
    createControls();
    connectHandlers();
    Label1->setText(AboutLabelText(ComposeAboutText()));
}

void FormAbout::createControls() {
    Label1 = place(new QLabel(this), QStringLiteral("Label1"), TwipsRect(240, 120, 4575, 1215),
                   PixelFont(12, QStringLiteral("Arial")));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);

    Label2 = place(new LinkLabel(QString::fromLatin1(kAuthorMail), this), QStringLiteral("Label2"),
                   TwipsRect(3240, 1320, 1455, 255), captionFont(true));
    makeLink(Label2);
    Label2->setCursor(Qt::PointingHandCursor);

    Command1 = place(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("Command1"),
                     TwipsRect(1920, 1920, 1335, 375), captionFont());
    // Not the default button: Enter presses OK only while OK has the focus, as it does for any
    // focused button. Escape closes the window as a dialog's Escape does.
    Command1->setDefault(false);
    Command1->setAutoDefault(true);

    Label3 = place(new QLabel(QStringLiteral("По всем вопросам пишите:"), this), QStringLiteral("Label3"),
                   TwipsRect(240, 1320, 3015, 375), captionFont());
    Label4 = place(new QLabel(QStringLiteral("Или на мой сайт:"), this), QStringLiteral("Label4"),
                   TwipsRect(240, 1560, 2895, 255), captionFont());
    Label5 = place(new LinkLabel(QString::fromLatin1(kAuthorWebSite), this), QStringLiteral("Label5"),
                   TwipsRect(3240, 1560, 1695, 255), captionFont(true));
    makeLink(Label5);
    // Label3 lies under both address lines; the links must stay on top to take the clicks.
    Label2->raise();
    Label5->raise();
    Command1->setFocus();
}

void FormAbout::connectHandlers() {
    connect(Command1, &QPushButton::clicked, this, &FormAbout::accept);
    connect(Label2, &LinkLabel::clicked, this, &FormAbout::openMail);
    connect(Label5, &LinkLabel::clicked, this, &FormAbout::openWebSite);
}

void FormAbout::openMail() {
    // Whether a mail program comes up is the desktop's affair: nothing is reported.
    platform::OpenWithDesktop(QString::fromLatin1(kAuthorMailLink), QCoreApplication::applicationDirPath());
}

void FormAbout::openWebSite() {
    const QUrl address = QUrl::fromUserInput(Label5->text());
    if (platform::OpenWithDesktop(address.toString())) return;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Не удалось запустить программу просмотра (xdg-open)"),
                    QStringLiteral("Ошибка отображения файла"), QMessageBox::Ok, this);
    box.exec();
}

}  // namespace tremira::ui
