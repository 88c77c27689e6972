#include "vegmatch/dialogs.h"

#include <algorithm>
#include <memory>

#include "common/fields.h"
#include "common/filedialog.h"
#include "common/hold.h"

namespace vegmatch {

using veg::fmtInt;

void pushScreenUp(veg::Console& console) { console.blank(5); }

void askNumber(veg::Console& console, int& value, int lower, int upper) {
  for (;;) {
    console.writeLine(" Existing value is" + fmtInt(value, 3));
    console.writeLine(" Press <RETURN> to retain it, or type new value");
    std::string reply = veg::padRight(console.ask(), 2);
    if (veg::isBlank(reply)) return;
    long long number = 0;
    if (veg::readIntField(reply, number) && number >= lower && number <= upper) {
      value = static_cast<int>(number);
      return;
    }
    console.writeLine(" * Inadmissible entry *");
    console.writeLine("   Limits are  " + fmtInt(lower, 6) + fmtInt(upper, 6));
  }
}

void askAnalysisParameters(veg::Console& console, RunSettings& settings) {
  console.blank(2);
  console.writeLine(" Set cover-abundance scale for samples");
  console.writeLine(" Possible values of scale parameter are");
  const std::string indent(12, ' ');
  console.writeLine(indent + "1= % cover");
  console.writeLine(indent + "2= Braun-Blanquet scale");
  console.writeLine(indent + "3= Domin scale");
  askNumber(console, settings.cover_scale, 1, 3);
  console.blank(2);
  console.writeLine(" Set parameter to determine type of analysis");
  console.writeLine(" Possible values of analysis parameter are");
  console.writeLine(indent + "1= Mixed composition and cover");
  console.writeLine(indent + "2= Species composition only");
  console.writeLine(indent + "3= Species cover only");
  console.writeLine(indent + "4= Incomplete species list only");
  console.writeLine(indent + "5= Top few spp, descndng abndnce, no quant");
  askNumber(console, settings.analysis_type, 1, 5);
}

}  // namespace vegmatch

namespace vegmatch {

Switches setUpRun(Io& io) {
  veg::Console& console = io.console;
  Switches switches;
  for (int i = 0; i < 3; ++i) pushScreenUp(console);
  console.blank(2);
  console.writeLine(" Enter files and parameters to run VEGMATCH");
  console.blank(9);
  console.writeLine(" Type name of output file for answers or press <RETURN> for default");
  std::string name;
  io.answers = veg::askNewFile(console, io.fs, {.default_name = "VEGMOUT.txt"}, name);

  console.blank(2);
  console.writeLine(" Type 0 for input of stand data from keyboard");
  console.writeLine(" Type 1 for input from existing datafile");
  int source = 0;
  askNumber(console, source, 0, 1);

  if (source == 1) {
    switches.record_entry = 0;
    console.blank(2);
    console.writeLine(" Enter name of existing datafile");
    console.writeLine("      or press <RETURN> for default SAMP.txt");
    io.datafile = veg::askExistingFile(
        console, io.fs, {.default_name = "SAMP.txt", .default_on_retry = false}, name);
  } else {
    switches.record_entry = 1;
    console.blank(2);
    console.writeLine(" Enter name of file with record of data entry");
    console.writeLine("      or press <RETURN> for default SAMP.txt");
    io.record = veg::askNewFile(
        console, io.fs,
        {.default_name = "SAMP.txt", .default_on_retry = false, .repeat_rejected = false}, name);
  }
  switches.input_mode = 4 * source;

  console.blank(2);
  console.writeLine(" Type 0 for all species to be included in analysis");
  console.writeLine(" Type 1 for vascular plants + bryos (excluding lichens & algae)");
  console.writeLine(" Type 2 to include only vascular plants");
  int groups = 0;
  askNumber(console, groups, 0, 2);
  const int limits[] = {10000, 4000, 3000};
  switches.species_limit = limits[groups];
  return switches;
}

void showTitleScreens(veg::Console& console, veg::FileSystem& fs, HelpPage& page, int lines) {
  console.blank(10);
  console.writeLine(std::string(30, ' ') + "VEGMATCH  Version 2");
  console.blank();
  console.writeLine(std::string(19, ' ') + "A program to identify types of vegetation");
  console.writeLine(std::string(24, ' ') + "by measuring goodness-of-fit to ");
  console.writeLine(std::string(31, ' ') + "association tables");
  console.blank(2);
  const std::string indent(17, ' ');
  console.writeLine(indent + "VEGMATCH suite for the British NVC, 2026");
  console.writeLine(indent + "with the converters DECKLOAD and DECKSAVE");
  console.writeLine(indent + "C++ edition, revised 2026");
  console.blank();
  console.blank(5);
  console.writeLine(" Press <RETURN> to continue");
  console.ask();

  console.blank(2);
  console.writeLine(indent + "Association tables: the NVC floristic tables,");
  console.writeLine(indent + "unit names and taxon lookup published with");
  console.writeLine(indent + "RMAVIS (LGPL-3.0), derived from the NVC");
  console.writeLine(indent + "database of the Joint Nature Conservation");
  console.writeLine(indent + "Committee (JNCC).");
  console.writeLine(indent + "EUNIS cross-reference: JNCC habitat");
  console.writeLine(indent + "correspondences table (2008).");
  console.blank(5);
  const std::string offer = " Press <RETURN> to continue, or type H for help";
  console.writeLine(offer);
  for (;;) {
    const std::string reply = console.ask();
    const char first = reply.empty() ? ' ' : reply[0];
    if (first == ' ') return;
    if (first == 'h' || first == 'H') {
      showHelpPages(console, fs, page, lines);
      return;
    }
    console.writeLine(offer);
  }
}

void showHelpPages(veg::Console& console, veg::FileSystem& fs, HelpPage& page, int lines) {
  std::unique_ptr<veg::TextFile> file = fs.openExisting("HELP.txt");
  if (!file) {
    console.writeLine("  *** File HELP.txt is not available ***");
    return;
  }
  const int count = std::min(lines, kHelpLines);
  for (bool last = false; !last;) {
    for (int i = 1; i <= count; ++i) page[i] = std::string(60, ' ');
    std::string line;
    for (int i = 1; i <= count; ++i) {
      if (!file->readLine(line)) {
        last = true;
        break;
      }
      page[i] = veg::padRight(line, 60);
    }
    for (int i = 1; i <= count; ++i) console.writeLine(std::string(10, ' ') + page[i]);
    console.writeLine(" Press <RETURN> to continue");
    console.ask();
  }
}

}  // namespace vegmatch
