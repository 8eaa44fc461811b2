#pragma once
// Run A's connections with four taps from 50 V and 380 V besides, as calc's tests find them.

#include "calc/connection_diagram.h"

namespace tremira::testing {

inline const calc::Connections kRunAConnections{{{0, false, false},
                                                 {83, true, false},
                                                 {90, true, false},
                                                 {98, true, false},
                                                 {108, true, false},
                                                 {143, false, true}},
                                                "220 В",
                                                "380 В",
                                                true};

}  // namespace tremira::testing
