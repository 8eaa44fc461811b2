#include "reports/number_format.h"

#include <QLocale>

#include <cmath>

#include "calc/field_numbers.h"

namespace tremira::reports {

QString FormatTwoDecimals(const QString &text) {
    const calc::Checked<double> value = calc::ParseDouble(text.toStdString());
    if (!value) return text;

    const double magnitude = std::abs(calc::RoundToDecimals(*value, 2));
    QString digits = QString::number(magnitude, 'f', QLocale::FloatingPointShortest);
    // "##" writes no digit of a zero integer part, and the separator stands also with no fraction.
    if (digits.startsWith(u'0')) digits.remove(0, 1);
    const QChar separator = QChar::fromLatin1(calc::kDecimalSeparator);
    if (const qsizetype point = digits.indexOf(u'.'); point >= 0) {
        digits[point] = separator;
    } else {
        digits += separator;
    }
    return *value < 0 ? u'-' + digits : digits;
}

}  // namespace tremira::reports
