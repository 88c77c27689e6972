#pragma once

#include "common/console.h"

namespace veg {

/// Shows the end-of-program notice and waits for one line from the keyboard
/// (any reply). At end of input it stops the program at once (StopRun).
void hold(Console& console);

/// `hold`, then a normal stop of the program (StopRun): every end of a run.
[[noreturn]] void holdAndStop(Console& console);

}  // namespace veg
