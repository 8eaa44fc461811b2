#include "ui/fields/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace tremira::ui {
namespace {

// The option list as Qt shows it to screen readers, but for the name: QAccessibleWidget takes
// the widget's accessible name or its label's caption, where Qt's own interface on Linux
// would take the current entry.
class AccessibleOptionList : public QAccessibleWidget {
public:
    explicit AccessibleOptionList(QComboBox *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(kind);
    }

    // The drop-down list, then the text part of an editable list.
    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable()) return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (child->object() == list()->view()) return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit()) return 1;
        return -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *optionListInterface(const QString &className, QObject *object) {
    if (className != QLatin1String("QComboBox")) return nullptr;
    return new AccessibleOptionList(static_cast<QComboBox *>(object));
}

}  // namespace

QComboBox *NewOptionList(QWidget *parent) {
    // Installed before the list exists: an interface, once made, serves the list for its life.
    QAccessible::installFactory(optionListInterface);
    return new QComboBox(parent);
}

void NameAfterCaption(QWidget *field, const QString &caption) {
    field->setAccessibleName(caption);
    if (auto *list = qobject_cast<QComboBox *>(field); list && list->lineEdit())
        list->lineEdit()->setAccessibleName(caption);
}

}  // namespace tremira::ui
