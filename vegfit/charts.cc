#include "vegfit/charts.h"

#include <algorithm>
#include <cmath>

namespace vegfit {

namespace {

std::string figure(int value) { return std::to_string(value); }

// Opens the chart's <svg> of `width` by `height` px with its title; the
// style sheet gives each chart class its width, and its height follows.
void startChart(HtmlWriter& w, std::string_view cls, int width, int height, std::string_view title,
                std::string_view described_by) {
  const std::string box = "0 0 " + figure(width) + " " + figure(height);
  if (described_by.empty()) {
    w.open("svg", {{"class", cls}, {"role", "img"}, {"viewBox", box}});
  } else {
    w.open("svg",
           {{"class", cls}, {"role", "img"}, {"viewBox", box}, {"aria-describedby", described_by}});
  }
  w.element("title", title);
}

void rect(HtmlWriter& w, double x, double y, double width, double height, std::string_view cls) {
  w.empty("rect", {{"class", cls},
                   {"x", coordinate(x)},
                   {"y", coordinate(y)},
                   {"width", coordinate(width)},
                   {"height", coordinate(height)}});
}

// Text ending at x; with `cls` "s" starting there, "m" centred on it.
void label(HtmlWriter& w, double x, double y, std::string_view text, std::string_view cls = {}) {
  if (cls.empty()) {
    w.element("text", text, {{"x", coordinate(x)}, {"y", coordinate(y)}});
  } else {
    w.element("text", text, {{"class", cls}, {"x", coordinate(x)}, {"y", coordinate(y)}});
  }
}

// The segments of a path: "M x y" and a horizontal or vertical stretch.
void moveTo(std::string& d, double x, double y) {
  d += 'M';
  d += coordinate(x);
  d += ' ';
  d += coordinate(y);
}
void across(std::string& d, double x, double y, double length) {
  moveTo(d, x, y);
  d += 'h';
  d += coordinate(length);
}
void down(std::string& d, double x, double y, double length) {
  moveTo(d, x, y);
  d += 'v';
  d += coordinate(length);
}

void path(HtmlWriter& w, const std::string& d, std::string_view cls) {
  if (!d.empty()) w.empty("path", {{"class", cls}, {"d", d}});
}

// Places part `id` of `defs`, drawing it first when it is new.
template <class Draw>
void shared(HtmlWriter& w, ChartDefs& defs, const std::string& id, Draw draw) {
  if (!defs.has(id)) {
    std::string markup;
    HtmlWriter part(markup);
    draw(part);
    defs.add(id, std::move(markup));
  }
  w.empty("use", {{"href", "#" + id}});
}

}  // namespace

std::string ChartDefs::svg() const {
  if (parts_.empty()) return {};
  std::string out;
  HtmlWriter w(out);
  w.open("svg", {{"class", "defs"}, {"width", "0"}, {"height", "0"}, {"aria-hidden", "true"}});
  w.open("defs");
  for (const auto& [id, markup] : parts_) w.open("g", {{"id", id}}).raw(markup).close();
  w.closeTo(0);
  return out;
}

void fitChart(HtmlWriter& w, ChartDefs& defs, const std::vector<FitRow>& rows, int sample_species,
              std::string_view described_by) {
  constexpr int kTop = 20, kRow = 16, kFit = 60, kCoefficients = 280, kColumn = 56, kRichness = 520,
                kRichnessWidth = 160;
  const int n = static_cast<int>(rows.size());
  const int height = kRow * n;
  startChart(w, "fc", 690, kTop + height + 2, "Fits, coefficients and species per plot",
             described_by);
  shared(w, defs, "fb" + figure(n), [&](HtmlWriter& part) {
    for (std::size_t b = 0; b < kGradeBands.size(); ++b) {
      const GradeBand& band = kGradeBands[b];
      rect(part, kFit + 2 * band.low, kTop, 2 * (std::min(band.high, 100) - band.low), height,
           "g" + figure(static_cast<int>(b)));
    }
    for (int tick : {0, 50, 60, 70, 80, 100}) label(part, kFit + 2 * tick, 16, figure(tick), "m");
    static constexpr std::array<std::string_view, 4> kHeads = {"comp.", "comp.", "cover", "cover"};
    static constexpr std::array<std::string_view, 4> kFrom = {"unit", "sample", "unit", "sample"};
    for (std::size_t c = 0; c < 4; ++c) {
      const int x = kCoefficients + kColumn * static_cast<int>(c);
      rect(part, x, kTop, 50, height, "trk");
      label(part, x, 8, kHeads[c], "s");
      label(part, x, 16, kFrom[c], "s");
    }
    rect(part, kRichness, kTop, kRichnessWidth, height, "trk");
    label(part, kRichness, 8, "species per plot", "s");
  });
  int most = std::max(sample_species, 1);
  for (const FitRow& row : rows)
    for (const std::optional<int>* f : {&row.min_species, &row.mean_species, &row.max_species})
      if (*f) most = std::max(most, **f);
  const int scale = (most + 9) / 10 * 10;
  const auto species_x = [&](int species) {
    return std::round(kRichness + static_cast<double>(kRichnessWidth) * species / scale);
  };
  label(w, kRichness, 16, "0", "s");
  label(w, kRichness + kRichnessWidth, 16, figure(scale));
  std::string bars, ranges, means;
  for (int r = 0; r < n; ++r) {
    const FitRow& row = rows[static_cast<std::size_t>(r)];
    const int y = kTop + kRow * r + 8;
    label(w, 56, y + 4, row.code);
    across(bars, kFit, y, 2 * row.fit);
    for (std::size_t c = 0; c < 4; ++c)
      across(bars, kCoefficients + kColumn * static_cast<int>(c), y, row.coefficients[c] / 2.0);
    if (row.min_species && row.max_species) {
      const double low = species_x(*row.min_species);
      across(ranges, low, y, species_x(*row.max_species) - low);
    }
    if (row.mean_species) down(means, species_x(*row.mean_species), y - 5, 10);
  }
  path(w, bars, "bar");
  path(w, ranges, "rng");
  path(w, means, "mn");
  std::string sample;
  down(sample, species_x(sample_species), kTop, height);
  path(w, sample, "sm");
  w.close();
}

void indicatorChart(HtmlWriter& w, ChartDefs& defs, const std::vector<IndicatorRow>& rows,
                    std::string_view described_by) {
  constexpr int kTop = 12, kAxis = 40, kScale = 20;
  const auto x = [&](double value) {
    return std::round(kAxis + kScale * std::clamp(value, 0.0, 12.0));
  };
  const std::size_t units = rows.empty() ? 0 : rows.front().units.size();
  const int band = 5 * (static_cast<int>(units) + 1);
  const int count = static_cast<int>(rows.size());
  startChart(w, "ic", 290, kTop + band * count + 2, "Indicator values", described_by);
  std::string letters;
  for (const IndicatorRow& row : rows) letters += row.letter;
  shared(w, defs, "i" + letters + figure(static_cast<int>(units)), [&](HtmlWriter& part) {
    for (int tick = 0; tick <= 12; tick += 3) label(part, x(tick), 9, figure(tick), "m");
    for (int k = 0; k < count; ++k) {
      const int top = kTop + band * k;
      rect(part, kAxis, top + 1, 12 * kScale, band - 2, "trk");
      label(part, 30, top + band / 2.0 + 3, letters.substr(static_cast<std::size_t>(k), 1));
    }
  });
  std::vector<std::string> unit_lines(units);
  std::string sample;
  for (int k = 0; k < count; ++k) {
    const IndicatorRow& row = rows[static_cast<std::size_t>(k)];
    const int top = kTop + band * k;
    if (row.sample) down(sample, x(*row.sample), top + 1, band - 2);
    for (std::size_t i = 0; i < units && i < row.units.size(); ++i) {
      const std::optional<IndicatorRange>& unit = row.units[i];
      if (!unit) continue;
      const int y = top + 5 * (static_cast<int>(i) + 1);
      const double low = x(unit->mean - unit->sd);
      across(unit_lines[i], low, y, x(unit->mean + unit->sd) - low);
      down(unit_lines[i], x(unit->mean), y - 2, 4);
    }
  }
  for (std::size_t i = 0; i < units; ++i)
    path(w, unit_lines[i], "u" + figure(static_cast<int>(i) + 1));
  path(w, sample, "sm");
  w.close();
}

void spreadChart(HtmlWriter& w, const std::vector<SpreadGroup>& groups, std::string_view title,
                 int largest) {
  constexpr int kTop = 4, kRow = 14, kBars = 70, kWidth = 300;
  int rows = 0;
  const bool given = largest > 0;
  largest = std::max(largest, 1);
  std::string desc;
  for (const SpreadGroup& group : groups) {
    int total = 0;
    for (const SpreadBar& bar : group.bars) total += bar.count;
    desc += (desc.empty() ? "" : "; ") + group.type + " " + figure(total) + ":";
    for (const SpreadBar& bar : group.bars) {
      if (!given) largest = std::max(largest, bar.count);
      desc += " " + bar.code + " " + figure(bar.count);
    }
    rows += 1 + static_cast<int>(group.bars.size());
  }
  startChart(w, "sc", 420, kTop + kRow * rows + 2, title, {});
  w.element("desc", desc.empty() ? std::string("No samples.") : desc + ".");
  std::string bars;
  int row = 0;
  for (const SpreadGroup& group : groups) {
    int total = 0;
    for (const SpreadBar& bar : group.bars) total += bar.count;
    label(w, 0, kTop + kRow * row + 11, group.type + " (" + figure(total) + ")", "s g");
    ++row;
    for (const SpreadBar& bar : group.bars) {
      const int y = kTop + kRow * row + 7;
      const double length = static_cast<double>(kWidth) * bar.count / largest;
      label(w, 66, y + 4, bar.code);
      across(bars, kBars, y, length);
      label(w, kBars + length + 3, y + 4, figure(bar.count), "s");
      ++row;
    }
  }
  path(w, bars, "bar");
  w.close();
}

}  // namespace vegfit
