#include "vegfit/report.h"

#include <gtest/gtest.h>

#include "vegfit/charts.h"
#include "vegfit/html.h"
#include "vegfit/testing/html_check.h"

namespace vegfit {
namespace {

using nlohmann::json;

// ---- Writing HTML.

TEST(HtmlTest, TextAndValuesAreEscaped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"&amp;", "&amp;amp;"},
      {"say \"x\" or 'y'", "say &quot;x&quot; or &#39;y&#39;"},
      {"Relev\xC3\xA9 \xC2\xB1 \xE2\x80\x93", "Relev\xC3\xA9 \xC2\xB1 \xE2\x80\x93"},  // UTF-8 kept
      {"caf\xE9", "caf\xEF\xBF\xBD"},  // a Windows-1252 byte is no UTF-8
      {"\xC0\xAF and \xED\xA0\x80",
       "\xEF\xBF\xBD\xEF\xBF\xBD and \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong, surrogate
      {"a\x01"
       "b\tc",
       "a\xEF\xBF\xBD"
       "b\tc"},                                          // a control character
      {"cut \xE2\x80", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},  // a sequence cut short
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(expected, escaped(text)) << text;
}

TEST(HtmlTest, ElementsCloseInOrderAndCellsLeaveTheirEndTagsOut) {
  std::string out;
  HtmlWriter w(out);
  w.open("table", {{"class", "a\"b"}}).open("tbody").row().cell("1 < 2").head("x", {{"id", "h"}});
  w.empty("br").closeTo(0);
  EXPECT_EQ("<table class=\"a&quot;b\"><tbody><tr><td>1 &lt; 2<th id=\"h\">x<br/></tbody></table>",
            out);
  EXPECT_EQ("", testing::nestingFault(out));
  EXPECT_NE("", testing::nestingFault("<div><p></div>"));
}

TEST(HtmlTest, CoordinatesHaveOneDecimalAtMost) {
  const std::vector<std::pair<double, std::string>> cases = {
      {12, "12"},  {34.5, "34.5"}, {12.25, "12.3"},   {-3, "-3"},
      {0.04, "0"}, {-0.04, "0"},   {669.333, "669.3"}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(expected, coordinate(value)) << value;
}

// ---- The charts, every figure worked by hand from their layout (charts.h).

TEST(ChartTest, FitChartOfTwoCommunities) {
  std::string out;
  HtmlWriter w(out);
  ChartDefs defs;
  // Species per plot up to 28, the sample's 10: a scale of 30, 160/30 px each.
  fitChart(w, defs,
           {{"H12a", 75, {69, 100, 81, 100}, 9, 14, 28}, {"H9", 73, {70, 92, 86, 74}, 5, 12, 25}},
           10, "f1");
  EXPECT_EQ(
      "<svg class=\"fc\" role=\"img\" viewBox=\"0 0 690 54\" aria-describedby=\"f1\">"
      "<title>Fits, coefficients and species per plot</title><use href=\"#fb2\"/>"
      "<text class=\"s\" x=\"520\" y=\"16\">0</text><text x=\"680\" y=\"16\">30</text>"
      "<text x=\"56\" y=\"32\">H12a</text><text x=\"56\" y=\"48\">H9</text>"
      // Fits of 2 px per percent from x = 60, coefficients of 0.5 px from
      // x = 280, 336, 392 and 448, on rows centred at 28 and 44.
      "<path class=\"bar\" d=\"M60 28h150M280 28h34.5M336 28h50M392 28h40.5M448 28h50"
      "M60 44h146M280 44h35M336 44h46M392 44h43M448 44h37\"/>"
      // 9 species at 520 + 48; 28 at 669.3, 5 at 546.7, 25 at 653.3.
      "<path class=\"rng\" d=\"M568 28h101M547 44h106\"/>"
      // Means 14 (594.7) and 12 (584), 5 px above and below the centre.
      "<path class=\"mn\" d=\"M595 23v10M584 39v10\"/>"
      // The sample's 10 species (573.3) over both rows.
      "<path class=\"sm\" d=\"M573 20v32\"/></svg>",
      out);
  // The grade bands behind both rows: below 50, 50-59, 60-69, 70-79, 80-100.
  const std::string shared = defs.svg();
  for (const char* band : {"<rect class=\"g0\" x=\"60\" y=\"20\" width=\"100\" height=\"32\"/>",
                           "<rect class=\"g1\" x=\"160\" y=\"20\" width=\"20\" height=\"32\"/>",
                           "<rect class=\"g2\" x=\"180\" y=\"20\" width=\"20\" height=\"32\"/>",
                           "<rect class=\"g3\" x=\"200\" y=\"20\" width=\"20\" height=\"32\"/>",
                           "<rect class=\"g4\" x=\"220\" y=\"20\" width=\"40\" height=\"32\"/>"})
    EXPECT_NE(std::string::npos, shared.find(band)) << band;
  EXPECT_EQ(0u, shared.find("<svg class=\"defs\" width=\"0\" height=\"0\" "
                            "aria-hidden=\"true\"><defs><g id=\"fb2\">"));
  EXPECT_EQ("", testing::nestingFault(out + shared));
}

TEST(ChartTest, IndicatorChartOnOneScale) {
  std::string out;
  HtmlWriter w(out);
  ChartDefs defs;
  // One community: bands of 10 px from y = 12, x = 40 + 20 value.
  indicatorChart(w, defs, {{'F', 5.63, {IndicatorRange{5.87, 1.01}}}, {'L', 13, {std::nullopt}}},
                 "i1");
  EXPECT_EQ(
      "<svg class=\"ic\" role=\"img\" viewBox=\"0 0 290 34\" aria-describedby=\"i1\">"
      "<title>Indicator values</title><use href=\"#iFL1\"/>"
      // 4.86 to 6.88 (137.2 to 177.6) at y = 12 + 5, the mean 5.87 (157.4).
      "<path class=\"u1\" d=\"M137 17h41M157 15v4\"/>"
      // The sample's 5.63 (152.6) across the first band; 13 beyond the
      // scale, at its end.
      "<path class=\"sm\" d=\"M153 13v8M280 23v8\"/></svg>",
      out);
  EXPECT_NE(std::string::npos,
            defs.svg().find("<rect class=\"trk\" x=\"40\" y=\"23\" width=\"240\" height=\"8\"/>"));
}

TEST(ChartTest, SpreadChartScalesToTheLargestCount) {
  std::string out;
  HtmlWriter w(out);
  spreadChart(w, {{"CG", {{"CG3b", 1}}}, {"H", {{"H12a", 2}, {"H9", 1}}}}, "Best units");
  // Rows of 14 px from y = 4: CG, CG3b, H, H12a, H9; 300 px for 2.
  EXPECT_NE(std::string::npos, out.find("viewBox=\"0 0 420 76\""));
  EXPECT_NE(std::string::npos, out.find("<desc>CG 1: CG3b 1; H 3: H12a 2 H9 1.</desc>"));
  EXPECT_NE(std::string::npos, out.find("<text class=\"s g\" x=\"0\" y=\"43\">H (3)</text>"));
  EXPECT_NE(std::string::npos,
            out.find("<path class=\"bar\" d=\"M70 25h150M70 53h300M70 67h150\"/>"));
  EXPECT_NE(std::string::npos, out.find("<text class=\"s\" x=\"373\" y=\"57\">2</text>"));
}

// ---- Reading the names of samples.

TEST(ReportTest, SiteAndYearPartsOfSampleNames) {
  struct Case {
    std::vector<std::string> columns, names;
    std::vector<std::size_t> parts;
  };
  const std::vector<Case> cases = {
      {{"Site", "Year", "Group", "Quadrat"}, {"Newborough/2014/Slack 2/21"}, {0, 1}},
      {{"site_name", "Survey Year", "Q"}, {"A/2014/1"}, {0, 1}},
      {{"Plot", "Visit"}, {"P1/1999", "P2/2001"}, {1}},  // every value a year
      {{"Plot", "Visit"}, {"P1/1999", "P2/2"}, {}},
      {{"Location", "Quadrat"}, {"North/1"}, {0}},
      {{"Group", "Quadrat"}, {"G/1"}, {}},
      {{"Site"}, {"A"}, {}},  // one column names no part of a name
  };
  for (const Case& c : cases) EXPECT_EQ(c.parts, siteYearParts(c.columns, c.names)) << c.columns[0];
  EXPECT_EQ("MG", majorType("MG5a"));
  EXPECT_EQ("W", majorType("W17c"));
}

// ---- Whole reports from rows written as the scoring writes them.

json row(const std::string& sample, int rank, const std::string& code, int fit, const char* grade) {
  return {
      {"sample", sample},
      {"rank", rank},
      {"nvc_code", code},
      {"community", code + " community"},
      {"fit", fit},
      {"grade", grade},
      {"community_composition_fit", 90},
      {"sample_composition_fit", 80},
      {"community_cover_fit", 70},
      {"sample_cover_fit", 60},
      {"species", 2},
      {"unmatched", 0},
      {"status", "ok"},
      {"full_name", code + " full name"},
      {"habitats",
       {{"annex_i", {{{"code", "H4030"}, {"name", "European dry heaths"}}}},
        {"priority_habitat", {{{"code", nullptr}, {"name", "Lowland heathland"}}}}}},
      {"richness",
       {{"sample", 2}, {"unit_plots", 40}, {"unit_min", 12}, {"unit_mean", 20}, {"unit_max", 31}}},
      {"indicators", {{"species", 0}}},
      {"missing_constants", json::array()},
      {"species_account",
       {{{"species", "Calluna <vulgaris>"},
         {"cover", 60},
         {"constancy", "V"},
         {"min_domin", 5},
         {"max_domin", 8}},
        {{"species", "Erica cinerea"},
         {"cover", 5},
         {"constancy", nullptr},
         {"min_domin", nullptr},
         {"max_domin", nullptr}}}}};
}

json noResult(const std::string& sample) {
  return {{"sample", sample},
          {"rank", nullptr},
          {"nvc_code", nullptr},
          {"fit", nullptr},
          {"grade", nullptr},
          {"species", 1},
          {"unmatched", 1},
          {"status", "no species matched"},
          {"habitats", nullptr},
          {"richness", {{"sample", 1}}},
          {"indicators", {{"species", 0}}}};
}

bool holds(const std::string& html, const std::string& part) {
  return html.find(part) != std::string::npos;
}

TEST(ReportTest, NamesFromTheInputShowAsWritten) {
  json rows = json::array({row("<script>alert(1)</script>", 1, "H12a", 89, "very good"),
                           row("&amp;", 1, "H9", 73, "good")});
  ReportInfo info;
  info.files = {"survey \"2024\".csv"};
  info.date = "2025-01-31";
  info.names = {{"Calluna <b>", "Calluna vulgaris", "a synonym"}};
  const std::string html = renderReport(rows, json::array(), info);
  EXPECT_EQ("", testing::nestingFault(html));
  EXPECT_FALSE(holds(html, "<script>"));
  EXPECT_FALSE(holds(html, "<b>\""));
  for (const char* shown :
       {"<h2>Sample &lt;script&gt;alert(1)&lt;/script&gt;</h2>", "<h2>Sample &amp;amp;</h2>",
        "<a href=\"#s2\">&amp;amp;</a>", "<dd>survey &quot;2024&quot;.csv</dd>",
        "<title>NVC report: survey &quot;2024&quot;.csv</title>",
        "<td>Calluna &lt;vulgaris&gt;<td>60<td>V 5-8",
        "<i>Calluna &lt;b&gt;</i> as <i>Calluna vulgaris</i> (a synonym)"})
    EXPECT_TRUE(holds(html, shown)) << shown;
}

TEST(ReportTest, SampleWithoutResult) {
  json rows = json::array(
      {row("Q1", 1, "H12a", 89, "very good"), row("Q1", 2, "H9", 73, "good"), noResult("Q2")});
  ReportInfo info;
  info.data_version = "Test data 1";
  const std::string html = renderReport(rows, json::array(), info);
  EXPECT_EQ("", testing::nestingFault(html));
  for (const char* shown :
       {"<dd>Test data 1</dd>", "<dd>2 samples, 1 without a result</dd>",
        "<h3>1 sample without a result</h3>", "<li>Q2: no species matched</li>",
        // The overview: Q1's best, Q2 without one.
        "<td><a href=\"#s1\">Q1</a><td>H12a<td>H12a full name<td>89<td>very "
        "good<td>H4030<td>Lowland heathland",
        "<td><a href=\"#s2\">Q2</a><td><td colspan=\"5\">no result: no species matched",
        "<p class=\"key\">Annex I: H4030 European dry heaths.</p>", "<desc>H 1: H12a 1.</desc>",
        "<p>1 sample without a result is not counted.</p>",
        // Q1's page: both fits, its species in both tables.
        "<tr><td>H9<td>H9 full name<td>73<td>good<td>90<td>80<td>70<td>60<td>12-31 (20)",
        "<tr><td>Erica cinerea<td>5<td><td>",
        // The species table in the block that prints in two columns, the
        // indicators (none known) in the one below it.
        "<div class=\"row\"><div class=\"spw\"><table class=\"sp\"><caption>",
        "<td>5<td><td></tbody></table></div><div class=\"iw\"><p>No species of the sample has "
        "indicator values.</p></div></div>",
        // Q2's page says why it has none.
        "<p>1 species scored, 1 name matching no species. No result: no species matched.</p>"})
    EXPECT_TRUE(holds(html, shown)) << shown;
  EXPECT_FALSE(holds(html, "id=\"f2\""));  // no charts for Q2
}

TEST(ReportTest, StandBesideItsCommunity) {
  json stand_row = row("Site A/2014", 1, "SD17", 40, "very poor");
  stand_row["missing_constants"] = {
      {{"species", "Carex nigra"}, {"constancy", "IV"}, {"min_domin", 1}, {"max_domin", 10}}};
  const json stands =
      json::array({{{"sample", "Site A/2014"},
                    {"quadrats", 6},
                    {"nvc_code", "SD17"},
                    {"fit", 40},
                    {"species",
                     {{{"species", "Agrostis stolonifera"},
                       {"stand",
                        {{"quadrats", 6},
                         {"constancy", "V"},
                         {"min_cover", 0},
                         {"mean_cover", 3.17},
                         {"max_cover", 10},
                         {"min_domin", nullptr},
                         {"max_domin", 4}}},
                       {"unit", {{"constancy", "IV"}, {"min_domin", 1}, {"max_domin", 9}}}},
                      {{"species", "Carex nigra"},
                       {"stand", nullptr},
                       {"unit", {{"constancy", "IV"}, {"min_domin", 1}, {"max_domin", 10}}}},
                      {{"species", "Juncus bufonius"},
                       {"stand",
                        {{"quadrats", 1},
                         {"constancy", "I"},
                         {"min_cover", 3},
                         {"mean_cover", 3.0},
                         {"max_cover", 3},
                         {"min_domin", 3},
                         {"max_domin", 3}}},
                       {"unit", nullptr}}}}}});
  ReportInfo info;
  info.stands = true;
  info.name_columns = {"Site", "Year"};
  const std::string html = renderReport(json::array({stand_row}), stands, info);
  EXPECT_EQ("", testing::nestingFault(html));
  for (const char* shown :
       {"<dd>1 stand of 6 quadrats</dd>", "<h2>Stand Site A/2014</h2>",
        "2 species scored, 6 quadrats",
        "<caption>The stand&#39;s constancy table beside the table of SD17</caption>",
        "<tr><td>Agrostis stolonifera<td>6<td>V<td>0-3.17-10<td>up to 4<td>IV<td>1-9",
        "<tr><td>Carex nigra<td colspan=\"4\" class=\"ms\">not in the stand<td>IV<td>1-10",
        "<tr><td>Juncus bufonius<td>1<td>I<td>3-3.00-3<td>3-3<td colspan=\"2\">",
        // The community's missing constant in the species table.
        "<tbody class=\"mc\"><tr><th colspan=\"3\" scope=\"rowgroup\">Constants missing from the "
        "stand"
        "<tr><td>Carex nigra<td>\xE2\x80\x93<td>IV 1-10</tbody>"})
    EXPECT_TRUE(holds(html, shown)) << shown;
  // One stand per site and year: no chart of them.
  EXPECT_FALSE(holds(html, "Best communities by Site"));
}

}  // namespace
}  // namespace vegfit
