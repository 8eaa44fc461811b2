#pragma once

#include <QString>

namespace tremira::reports {

// The "##.##" format of the maximum current: a text that reads as a number becomes its sign,
// its integer digits without leading zeros, the comma (always), and the fraction rounded to
// two places with trailing zeros dropped ("0,5" -> ",5", "12" -> "12,"). Any other text is
// returned unchanged.
QString FormatTwoDecimals(const QString &text);

}  // namespace tremira::reports
