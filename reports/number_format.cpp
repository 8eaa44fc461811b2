#include "reports/number_format.h"

#include "calc/field_numbers.h"

namespace tremira::reports {
namespace {

// Adds one to a string of decimal digits; returns true when the carry runs out of the left end.
bool incrementDigits(QString &digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
        digits[i] = u'0';
    }
    return true;
}

}  // namespace

QString FormatTwoDecimals(const QString &text) {
    const calc::Checked<double> value = calc::ParseDouble(text.toStdString());
    if (!value) return text;

    // The text is accepted, so it is blanks, a sign, digits with at most one comma, blanks.
    // Rounding its own decimal digits (half away from zero) keeps "1,005" at "1,01", which
    // rounding the nearest double would turn into "1,".
    QString digits = text.trimmed();
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) digits.remove(0, 1);
    const qsizetype comma = digits.indexOf(QChar::fromLatin1(calc::kDecimalSeparator));
    QString integer = comma < 0 ? digits : digits.left(comma);
    QString fraction = comma < 0 ? QString() : digits.mid(comma + 1);

    const bool roundUp = fraction.size() > 2 && fraction[2] >= u'5';
    fraction = fraction.left(2).leftJustified(2, u'0');
    if (roundUp && incrementDigits(fraction) && incrementDigits(integer)) integer.prepend(u'1');

    while (integer.startsWith(u'0')) integer.remove(0, 1);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    const QString sign = *value < 0 ? QStringLiteral("-") : QString();
    return sign + integer + QChar::fromLatin1(calc::kDecimalSeparator) + fraction;
}

}  // namespace tremira::reports
