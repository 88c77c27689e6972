#include "vegmatch/dialogs.h"

#include "common/fields.h"

namespace vegmatch {

using veg::fmtInt;

void clear(veg::Console& console) { console.blank(5); }

void getnum(veg::Console& console, int& value, int lower, int upper) {
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

void reset(veg::Console& console, few& settings) {
  console.blank(2);
  console.writeLine(" Set cover-abundance scale for samples");
  console.writeLine(" Possible values of scale parameter are");
  const std::string indent(12, ' ');
  console.writeLine(indent + "1= % cover");
  console.writeLine(indent + "2= Braun-Blanquet scale");
  console.writeLine(indent + "3= Domin scale");
  getnum(console, settings.cover_scale, 1, 3);
  console.blank(2);
  console.writeLine(" Set parameter to determine type of analysis");
  console.writeLine(" Possible values of analysis parameter are");
  console.writeLine(indent + "1= Mixed composition and cover");
  console.writeLine(indent + "2= Species composition only");
  console.writeLine(indent + "3= Species cover only");
  console.writeLine(indent + "4= Incomplete species list only");
  console.writeLine(indent + "5= Top few spp, descndng abndnce, no quant");
  getnum(console, settings.analysis_type, 1, 5);
}

}  // namespace vegmatch
