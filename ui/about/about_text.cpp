#include "ui/about/about_text.h"

#include <QtGlobal>

namespace tremira::ui {

namespace {

constexpr QChar kCarriageReturn(13);

QString toolPiece() {
    // __cplusplus is the standard's year and month, 202002 for C++20.
    return QStringLiteral("Программа написана на C++%1 и Qt %2 ")
        .arg(__cplusplus / 100 % 100)
        .arg(QLatin1String(QT_VERSION_STR));
}

}  // namespace

QString ComposeAboutText() {
    return QStringLiteral("Программа для расчета сварочных трансформаторов. В расчете используется ") +
           QStringLiteral("метод Н.Условного(https://example.org/metod) ") + kCarriageReturn + toolPiece() +
           kCarriageReturn + QStringLiteral(" и снабжена подробной справкой ");
}

QString AboutLabelText(const QString &caption) {
    QString text = caption;
    return text.replace(kCarriageReturn, QLatin1Char('\n'));
}

}  // namespace tremira::ui
