// Scoring the samples of a vegfit run with the engine (engine/) and
// writing the results: one row per sample and rank, as CSV or JSON.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/tables.h"
#include "vegfit/attributes.h"
#include "vegfit/insight.h"
#include "vegfit/names.h"
#include "vegfit/options.h"
#include "vegfit/samples.h"

namespace vegfit {

/// The cross-reference texts of a community as the output shows them: the
/// NVC code without its blanks ("MG5a"), the others without trailing blanks.
struct CommunityText {
  std::string nvc_code, community, subcommunity, eunis_code, eunis_name;
  std::string csv;  // the five as CSV fields, each after a comma
};

/// What the rows of a community show of its attributes, written once:
/// its full names, habitats and richness as CSV fields and as JSON members
/// (each after a comma), its indicator means and deviations as CSV fields.
struct UnitText {
  std::string csv_names;       // names, habitats and richness
  std::string csv_indicators;  // unit_F_mean, unit_F_sd, ...
  std::string json;            // community_name ... habitats
  const UnitInfo* info = nullptr;
};

/// A species of constancy IV or V in a community's table.
struct Constant {
  short species_number;
  short constancy;  // 4 or 5
};

/// What the rows need of the reference data, built once after loading.
class Reference {
 public:
  /// `attributes` null: none known (every attribute column empty).
  Reference(const engine::Tables& tables, const NameMatcher& names,
            const Attributes* attributes = nullptr);

  const engine::Tables& tables() const { return tables_; }
  const CommunityText& text(int k) const { return texts_[static_cast<std::size_t>(k)]; }
  const UnitText& unitText(int k) const { return unit_texts_[static_cast<std::size_t>(k)]; }
  /// The texts of a row without a community: every field empty.
  const UnitText& noUnit() const { return unit_texts_[0]; }
  const Attributes& attributes() const { return *attributes_; }
  /// The species of constancy V and then IV of community k, each in order
  /// of its shown name.
  std::pair<const Constant*, const Constant*> constants(int k) const;
  /// True when community k's table holds species `species_number`.
  bool holds(int k, int species_number) const;
  /// The name shown for a species: its full name in the names table, else
  /// `fallback`, else its dictionary key.
  std::string speciesName(int species_number, std::string_view fallback = {}) const;
  const NameMatcher& names() const { return names_; }

 private:
  const engine::Tables& tables_;
  const NameMatcher& names_;
  Attributes none_;
  const Attributes* attributes_;
  std::vector<CommunityText> texts_;
  std::vector<UnitText> unit_texts_;  // by community, 0: none
  std::vector<std::size_t> constant_first_;  // per community, into constants_
  std::vector<Constant> constants_;
};

/// The status of a row: a result, or a sample that has none.
inline constexpr std::string_view kStatusOk = "ok";
inline constexpr std::string_view kStatusNoSpecies = "no species matched";
inline constexpr std::string_view kStatusNoFit = "no community fits";

/// One output row: a sample and one of its ranked communities, or the one
/// row of a sample without a result (`result` false: no rank, code or fit).
struct Row {
  std::string_view file;  // shown with several input files
  std::string_view sample;
  bool result = true;
  std::string status = std::string(kStatusOk);
  int rank = 1;
  const CommunityText* community = nullptr;  // null: fit below 0.0001, none shown
  int fit = 0;
  int community_composition_fit = 0;
  int sample_composition_fit = 0;
  int community_cover_fit = 0;
  int sample_cover_fit = 0;
  std::string_view grade;
  int species = 0;
  int unmatched = 0;
  /// The sample's indicator means and their CSV fields (written once per
  /// sample); null: none shown.
  const SampleIndicators* indicators = nullptr;
  const std::string* indicators_csv = nullptr;
  const UnitText* unit = nullptr;  // null: every attribute field empty
  bool explained = false;  // the explanation columns are filled (rank 1 with --explain)
  struct Missing {
    std::string name;
    TablePlace place;  // constancy 4 or 5
  };
  std::vector<Missing> missing;
  std::vector<std::string> not_in_table;
  /// Every species of the sample: its name, percent cover and place in the
  /// community's table.
  struct Account {
    std::string name;
    int cover = 0;
    TablePlace place;
  };
  std::vector<Account> account;
};

/// Appends the CSV fields of a sample's indicator means, each after a
/// comma: indicator_species, F .. S, F_weighted .. S_weighted.
void appendIndicatorCsv(std::string& out, const SampleIndicators& indicators);

/// What the rows show besides the figures every row has.
struct OutputColumns {
  bool file = false;     // the input file of the sample (several input files)
  bool explain = false;  // missing_constants, not_in_table and species_account
};

/// The CSV header row.
std::string csvHeader(const OutputColumns& columns);
/// The CSV header row of --table.
std::string tableCsvHeader(bool file);
/// Appends `row` as a CSV line (without line end).
void appendCsvRow(std::string& out, const Row& row, const OutputColumns& columns);
/// Appends `row` as one JSON object (without line end).
void appendJsonRow(std::string& out, const Row& row, const OutputColumns& columns);

/// Scores samples one after the other with a copy of the tables of its
/// own (scoring writes the per-sample totals into them), so that several
/// scorers can work at once.
class Scorer {
 public:
  Scorer(const Reference& reference, const Options& options);
  ~Scorer();

  /// Scores sample `i` of `set` and appends its rows, each ended by a line
  /// feed, to `out` (JSON objects each followed by a comma): one for each
  /// ranked community with a fit (at most --top), or one that says why the
  /// sample has none.
  void score(const SampleSet& set, std::size_t i, std::string& out);
  /// The largest number of rows of a sample.
  int rowsPerSample() const;

 private:
  void explain(const SampleSet& set, const SampleInfo& info, int k, Row& row) const;
  std::string sampleName(const SampleSet& set, const SampleInfo& info, int i) const;
  void appendTable(const SampleSet& set, const SampleInfo& info, int k, int fit,
                   std::string& out) const;
  void append(std::string& out) const;
  const engine::Tables& tables() const { return reference_.tables(); }

  const Reference& reference_;
  const Options& options_;
  std::unique_ptr<engine::Tables> tables_;
  std::unique_ptr<engine::Sample> sample_;
  std::array<short, engine::kMaxOutput + 1> top_community_{};
  std::array<float, engine::kMaxOutput + 1> top_score_{};
  std::vector<int> new_names_;  // spellings of the sample's names of no species
  SampleIndicators indicators_;
  std::string indicators_csv_;
  OutputColumns columns_;
  Row row_;
};

}  // namespace vegfit
