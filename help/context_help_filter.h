#pragma once
// F1 anywhere in the program opens the registered help file at the help number of the
// focused control, or of the highlighted menu item while a menu is open.

#include <QObject>

namespace tremira::help {

class ContextHelpFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The help number that F1 asks for now: 0 when neither the control nor the item has one.
qint32 currentHelpNumber();

}  // namespace tremira::help
