#include "tools/mends.h"

#include <map>
#include <set>

namespace nvcdata {

Mends Mends::read(const std::string& dir) {
  Mends m;
  for (const char* file : {"algae_rows.csv", "carex_serotina_rows.csv"})
    m.rows.push_back(CsvTable::read(dir + "/" + file));
  m.taxa = CsvTable::read(dir + "/new_taxa.csv");
  return m;
}

namespace {

using Rows = std::vector<std::vector<std::string>>;

// One row file applied to the rows of the floristic table `ft`.
Rows mendRows(const CsvTable& ft, const Rows& rows, const CsvTable& file) {
  std::size_t fCode = ft.column("nvc_code"), fTaxon = ft.column("taxon");
  std::set<std::string> withTable;
  for (const auto& row : rows) withTable.insert(row[fCode]);
  static const char* const kColumns[] = {"nvc_code",           "taxon",     "constancy",
                                         "absolute_frequency", "min_domin", "mean_domin",
                                         "max_domin"};
  std::map<std::size_t, std::size_t> columnOf;  // table column -> file column
  for (const char* column : kColumns) columnOf[ft.column(column)] = file.column(column);
  std::set<std::string> units, taxa;
  for (const auto& row : file.rows()) {
    const std::string& unit = row[file.column("nvc_code")];
    if (!withTable.count(unit))
      throw SourceError(file.name() + ": unit " + unit + " has no floristic table");
    units.insert(unit);
    taxa.insert(row[file.column("taxon")]);
  }
  Rows out;
  for (const auto& row : rows)
    if (!units.count(row[fCode]) || !taxa.count(row[fTaxon])) out.push_back(row);
  for (const auto& row : file.rows()) {
    std::vector<std::string> added(ft.header().size());
    for (const auto& [to, at] : columnOf) added[to] = row[at];
    out.push_back(added);
  }
  return out;
}

}  // namespace

Sources mended(const Sources& src, const Mends& mends) {
  Sources out = src;
  Rows rows = src.floristic.rows();
  for (const CsvTable& file : mends.rows) rows = mendRows(src.floristic, rows, file);
  out.floristic = src.floristic.withRows(rows);

  const CsvTable& tt = src.taxa;
  const CsvTable& nt = mends.taxa;
  std::set<std::string> held;
  for (const auto& row : tt.rows()) held.insert(row[tt.column("taxon")]);
  Rows taxa = tt.rows();
  Rows lookup = src.name_lookup.rows();
  std::size_t lOriginal = src.name_lookup.column("original_name"),
              lTaxon = src.name_lookup.column("taxon");
  for (const auto& row : nt.rows()) {
    const std::string& taxon = row[nt.column("taxon")];
    const std::string& original = row[nt.column("original_name")];
    std::string where = nt.name() + ": '" + taxon + "'";
    if (held.count(taxon)) throw SourceError(where + " is in taxa.csv already");
    if (row[nt.column("reason")].empty()) throw SourceError(where + " gives no reason");
    parseGroup(row[nt.column("group")]);
    std::vector<std::string> added(tt.header().size());
    added[tt.column("taxon")] = taxon;
    added[tt.column("group")] = row[nt.column("group")];
    taxa.push_back(added);
    held.insert(taxon);
    bool found = false;
    for (auto& l : lookup) {
      if (l[lOriginal] != original) continue;
      l[lTaxon] = taxon;
      found = true;
    }
    if (!found) {
      std::vector<std::string> entry(src.name_lookup.header().size());
      entry[lOriginal] = original;
      entry[lTaxon] = taxon;
      lookup.push_back(entry);
    }
  }
  out.taxa = tt.withRows(taxa);
  out.name_lookup = src.name_lookup.withRows(lookup);
  return out;
}

}  // namespace nvcdata
