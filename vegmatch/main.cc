#include "common/console.h"
#include "common/files.h"

int main() {
  veg::StdConsole console;
  return 0;
}
