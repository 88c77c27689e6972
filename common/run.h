// How every program of the suite runs to its end: a normal stop, or a file
// that cannot be read or written, reported on the screen before `hold`.
#pragma once

#include <functional>
#include <vector>

#include "common/console.h"
#include "common/files.h"

namespace veg {

/// Runs a program's `body` and then each step of `finish` (each pushes one of
/// the program's output files to disk), the steps also after a body that
/// ended with a FileError, so that every output file gets what was written
/// to it. A normal stop (StopRun) ends the body or a step. Every FileError is
/// reported on the screen with the file's name and the reason, once for each
/// file, so each file that could not be written whole is named; after a
/// report the program ends through `hold`. Returns the exit status, always 0.
int runProgram(Console& console, const std::function<void()>& body,
               const std::vector<std::function<void()>>& finish);

/// The same with one step, or none.
int runProgram(Console& console, const std::function<void()>& body,
               const std::function<void()>& finish = {});

/// The screen lines that report `error` (each at most 80 columns).
void reportFileError(Console& console, const FileError& error);

}  // namespace veg
