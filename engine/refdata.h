// The three reference files of the suite and the tables they fill:
// SPECDICT.txt (species dictionary), ASSOCTAB.txt (association tables) and
// NVCTYPES.txt (community cross-reference). Each loader writes its progress
// line, reads its file whole and closes it. A missing file, an unknown
// species number or a record the tables cannot hold is reported on the
// console, followed by the end-of-program notice and a normal stop
// (veg::StopRun).
#pragma once

#include "common/console.h"
#include "common/files.h"
#include "engine/tables.h"

namespace engine {

/// Fills the dictionary (entries 1 and 2 reserved, the file's records from
/// entry 3), the sorted species index, dict_size and name_count, and zeroes
/// first_entry and last_entry of every entry.
void loadSpeciesDictionary(veg::Console& console, veg::FileSystem& fs, Tables& tables);

/// Fills the association-table entries, n_communities, and first_entry /
/// last_entry of every dictionary entry named by a species record; species
/// numbered above `species_limit` get last_entry 0.
void loadAssociationTables(veg::Console& console, veg::FileSystem& fs, int species_limit,
                           Tables& tables);

/// Fills the cross-reference texts of communities 1..n_communities.
void loadCrossReference(veg::Console& console, veg::FileSystem& fs, Tables& tables);

}  // namespace engine
