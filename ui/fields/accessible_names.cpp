#include "ui/fields/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <utility>

namespace tremira::ui {
namespace {

// Latin letters and the Cyrillic letters drawn alike.
constexpr std::array<std::pair<char16_t, char16_t>, 18> kLookAlikes{{
    {u'A', u'А'},
    {u'B', u'В'},
    {u'C', u'С'},
    {u'E', u'Е'},
    {u'H', u'Н'},
    {u'K', u'К'},
    {u'M', u'М'},
    {u'O', u'О'},
    {u'P', u'Р'},
    {u'T', u'Т'},
    {u'X', u'Х'},
    {u'a', u'а'},
    {u'c', u'с'},
    {u'e', u'е'},
    {u'o', u'о'},
    {u'p', u'р'},
    {u'x', u'х'},
    {u'y', u'у'},
}};

QChar cyrillicLookAlike(QChar letter) {
    const auto found = std::find_if(kLookAlikes.begin(), kLookAlikes.end(),
                                    [letter](const auto &pair) { return pair.first == letter.unicode(); });
    return found == kLookAlikes.end() ? letter : QChar(found->second);
}

void respellWord(QString &text, qsizetype begin, qsizetype end) {
    const bool cyrillic = std::any_of(text.begin() + begin, text.begin() + end,
                                      [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
    if (!cyrillic) return;
    for (qsizetype i = begin; i < end; ++i) {
        if (text[i].script() == QChar::Script_Latin) text[i] = cyrillicLookAlike(text[i]);
    }
}

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

QString CyrillicSpelling(QStringView caption) {
    QString text = caption.toString();
    qsizetype wordBegin = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i].isLetter()) continue;
        respellWord(text, wordBegin, i);
        wordBegin = i + 1;
    }
    return text;
}

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
