#pragma once
// The topics of the help file by their context numbers. The numbers are named once, in the
// map that the help compiler reads too.

#include <QtGlobal>

#include "help/content/context_ids.h"

namespace tremira::help {

enum class HelpTopic : qint32 {
    Overview = IDH_OBZOR,
    MainsVoltage = IDH_NAPRYAZHENIE_SETI,
    OutputVoltage = IDH_VYHODNOE_NAPRYAZHENIE,
    WeldingCurrent = IDH_TOK_SVARKI,
    CoreSection = IDH_SECHENIE_SERDECHNIKA,
    CoreType = IDH_TIP_SERDECHNIKA,
    Induction = IDH_INDUKCIYA,
    FileMenu = IDH_MENYU_FAJL,
    HelpMenu = IDH_MENYU_POMOSHCH,
    DesignCheck = IDH_PROVERKA_KONSTRUKCII,
    WindingPlan = IDH_PLAN_NAMOTKI,
    WeldingAndHeat = IDH_TOK_I_NAGREV,
};

}  // namespace tremira::help
