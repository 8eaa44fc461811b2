#pragma once
// The texts of the window's fields at the moment of a report command, in the order both
// reports read them. Nothing here is parsed or checked: a report shows what the window shows.

#include <QString>

namespace tremira::reports {

struct DesignSnapshot {
    QString Text4;   // mains voltage
    QString Text3;   // output voltage
    QString Text2;   // maximum welding current
    QString Text1;   // core cross-section
    QString Combo1;  // material of winding I
    QString Combo2;  // material of winding II
    QString Combo3;  // core type
    QString Text10;  // maximum core induction
    QString Text5;   // overall power
    QString Text11;  // required power
    QString Text6;   // turns of winding I
    QString Text7;   // turns of winding II
    QString Text8;   // wire cross-section of winding I
    QString Text9;   // wire cross-section of winding II
    QString Text12;  // maximum current of winding I

    friend bool operator==(const DesignSnapshot &, const DesignSnapshot &) = default;
};

}  // namespace tremira::reports
