#pragma once

#include <memory>
#include <string>

#include "common/files.h"

namespace veg {

/// Creates a new file under the default `name` (20 columns, blank-padded) or,
/// when that is taken, under the first free numbered variant: the stem, two
/// digits 01..98 and ".txt". On success `name` holds the name used and `unit`
/// the open file; after 99 failed attempts `name` is the given default again,
/// `unit` is empty and the result is false.
bool createDefaultOrVariant(FileSystem& fs, std::string& name, std::unique_ptr<TextFile>& unit);

}  // namespace veg
