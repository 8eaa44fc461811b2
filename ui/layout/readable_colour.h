#pragma once
// The check window still takes its message colour by this path and name, until it includes
// colours/readable_colour.h itself; then this file goes.

#include "colours/readable_colour.h"

namespace tremira::ui {

using colours::MessageColourOn;

}  // namespace tremira::ui
