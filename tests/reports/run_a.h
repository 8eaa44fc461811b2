#pragma once
// The design of the first reference run, as the window shows it after the calculation.

#include "reports/design_snapshot.h"
#include "reports/report_stamp.h"

namespace tremira::reports::test {

inline DesignSnapshot RunA() {
    return {
        .Text4 = QStringLiteral("220"),
        .Text3 = QStringLiteral("65"),
        .Text2 = QStringLiteral("160"),
        .Text1 = QStringLiteral("84,672"),
        .Combo1 = QStringLiteral("Медь"),
        .Combo2 = QStringLiteral("Медь"),
        .Combo3 = QStringLiteral("Стержневой"),
        .Text10 = QStringLiteral("1,42"),
        .Text5 = QStringLiteral("10400"),
        .Text11 = QStringLiteral("5600"),
        .Text6 = QStringLiteral("83"),
        .Text7 = QStringLiteral("25"),
        .Text8 = QStringLiteral("6"),
        .Text9 = QStringLiteral("20"),
        .Text12 = QStringLiteral("48,19277"),
    };
}

inline ReportStamp FixedStamp() { return {QStringLiteral("07.12.2026"), QStringLiteral("14:05:09")}; }

}  // namespace tremira::reports::test
