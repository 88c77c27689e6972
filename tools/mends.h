// Mends of the published source tables, kept in data/source/mends/ beside
// the tables, which stay as published:
//   - row files (algae_rows.csv, carex_serotina_rows.csv): rows in the
//     columns of floristic_tables.csv (others are ignored). In each unit a
//     row file lists, the table's rows of every taxon the file names are
//     replaced by the file's rows of that unit; so a file restores rows the
//     table lacks and takes back rows held under another taxon;
//   - new_taxa.csv (taxon, group, original_name, reason): taxa the row files
//     bring, added to taxa.csv; name_lookup.csv's rows of the original name
//     then give the new taxon (a row is added where it has none).
#pragma once

#include <string>
#include <vector>

#include "tools/nvcdata.h"

namespace nvcdata {

struct Mends {
  std::vector<CsvTable> rows;  // the row files, applied in this order
  CsvTable taxa;               // new_taxa.csv
  /// Reads the mends from `dir` (data/source/mends); throws SourceError.
  static Mends read(const std::string& dir);
};

/// `src` with `mends` applied as described above. Throws SourceError for a
/// mend row of a unit without a table, a new taxon that taxa.csv already
/// holds, an unknown group, or a new taxon without a reason.
Sources mended(const Sources& src, const Mends& mends);

}  // namespace nvcdata
