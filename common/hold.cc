#include "common/hold.h"

namespace veg {

void hold(Console& console) {
  console.blank(4);
  console.writeLine("*** Program finished  ***");
  console.blank(2);
  console.writeLine("Press <RETURN> to exit");
  console.blank(2);
  console.writeLine(std::string(25, '*'));
  console.ask();
}

void holdAndStop(Console& console) {
  hold(console);
  throw StopRun{};
}

}  // namespace veg
