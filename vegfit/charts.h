// The charts of the HTML report as inline SVG, drawn from figures alone
// (no JSON, no report state), so that a test can work every position by
// hand. Each chart is one <svg role="img"> whose <title> says what it
// shows and whose figures are in its <desc> or in the table it names with
// aria-describedby. Sizes are in the units of its viewBox, the CSS pixels
// of the report's style sheet, which gives each chart class ("fc", "ic",
// "sc") its width and the other classes their colours; texts end at their
// x unless their class is "s" (start there) or "m" (centred on it). Bars and lines are the segments
// of one <path> per kind ("M x y h length"), drawn with the stroke width of its class; what every
// chart of one shape has (grade bands, tracks, axes) is drawn once, in ChartDefs, and placed with
// <use>.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vegfit/html.h"

namespace vegfit {

/// The grade bands of a fit, worst first: very poor below 50, poor 50-59,
/// fair 60-69, good 70-79, very good 80 and over.
struct GradeBand {
  int low, high;  // fits low..high-1 (the last up to 100)
  std::string_view grade;
};
inline constexpr std::array<GradeBand, 5> kGradeBands = {{
    {0, 50, "very poor"},
    {50, 60, "poor"},
    {60, 70, "fair"},
    {70, 80, "good"},
    {80, 101, "very good"},
}};

/// The parts charts of one shape share, each drawn once under its id.
class ChartDefs {
 public:
  bool has(const std::string& id) const { return parts_.count(id) > 0; }
  void add(const std::string& id, std::string markup) { parts_[id] = std::move(markup); }
  /// A hidden <svg> holding every part in its <defs>, each a <g id=...>;
  /// empty when there are none.
  std::string svg() const;

 private:
  std::map<std::string, std::string> parts_;
};

/// One ranked community of a sample: its code, fit, the four partial
/// coefficients (community composition, sample composition, community
/// cover, sample cover), all whole percents, and its species per plot.
struct FitRow {
  std::string code;
  int fit = 0;
  std::array<int, 4> coefficients{};
  std::optional<int> min_species, mean_species, max_species;
};

/// The fit chart, one row of 16 px per community from y = 20 (its centre
/// at y = 28 + 16 row), 690 px wide and 22 + 16 rows high: the code ending
/// at x = 56; the fit a bar of 2 px per percent from x = 60 over the grade
/// bands (x = 60 + 2 low, 2 (high - low) wide, the last capped at 100);
/// each coefficient c a bar of 0.5 px per percent from x = 280 + 56 c; the
/// species per plot from x = 520, 160 px for the smallest multiple of 10
/// that holds every figure (rounded to whole px), the range from fewest to most a bar (class
/// "rng"), the mean a mark across it (class "mn"), the sample's species a
/// line over every row (class "sm"). The bands, tracks and headings are
/// the ChartDefs part "fb" + rows. `described_by`: the id of the table of
/// its figures.
void fitChart(HtmlWriter& w, ChartDefs& defs, const std::vector<FitRow>& rows, int sample_species,
              std::string_view described_by);

/// A community's mean indicator value and its standard deviation.
struct IndicatorRange {
  double mean = 0, sd = 0;
};

/// One indicator (F, L, N, R or S): the sample's mean and each ranked
/// community's mean ± sd (none where not known), as many in every row.
struct IndicatorRow {
  char letter = 'F';
  std::optional<double> sample;
  std::vector<std::optional<IndicatorRange>> units;
};

/// The indicator chart, 290 px wide: one band per indicator on a common
/// scale of 0 to 12 (x = 40 + 20 value rounded to whole px, values beyond
/// it at its ends), 5
/// (units + 1) px high, the first from y = 12. In each band the sample's
/// mean is a line across it (class "sm", from 1 px below its top to 1 px
/// above its end) and community i's mean ± sd a line at y = top + 5 (i + 1)
/// (class "u" i+1) with a mark 4 px high at its mean. The tracks, letters
/// and scale are the ChartDefs part "i" + letters + units.
void indicatorChart(HtmlWriter& w, ChartDefs& defs, const std::vector<IndicatorRow>& rows,
                    std::string_view described_by);

/// The samples whose best community is one code.
struct SpreadBar {
  std::string code;
  int count = 0;
};
/// The codes of one major type ("MG"), in order.
struct SpreadGroup {
  std::string type;
  std::vector<SpreadBar> bars;
};

/// The spread chart, 420 px wide: one row of 14 px from y = 4 for each
/// group (its type and count) and below it one for each code, the code
/// ending at x = 66, its count a bar from x = 70 of 300 count / the largest
/// count px (centre 7 px below the row's top), the figure 3 px after it;
/// `largest` > 0 takes that count as the largest, so that charts side by
/// side share a scale. Its figures are in its <desc>.
void spreadChart(HtmlWriter& w, const std::vector<SpreadGroup>& groups, std::string_view title,
                 int largest = 0);

}  // namespace vegfit
