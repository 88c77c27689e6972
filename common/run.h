// How every program of the suite runs to its end: a normal stop, or a file
// that cannot be read or written, reported on the screen before `hold`.
#pragma once

#include <functional>

#include "common/console.h"
#include "common/files.h"

namespace veg {

/// Runs a program's `body` and then `finish` (which pushes the program's
/// output files to disk). A normal stop (StopRun) ends either; a FileError is
/// reported on the screen with the file's name and the reason, and the
/// program ends through `hold` without running `finish` again. Returns the
/// exit status, always 0.
int runProgram(Console& console, const std::function<void()>& body,
               const std::function<void()>& finish = {});

/// The screen lines that report `error` (each at most 80 columns).
void reportFileError(Console& console, const FileError& error);

}  // namespace veg
