#include "common/default_file.h"

#include "common/fields.h"

namespace veg {

bool createDefaultOrVariant(FileSystem& fs, std::string& name, std::unique_ptr<TextFile>& unit) {
  const std::string given = padRight(name, 20);
  // The stem ends before the first full stop or blank of the first 14
  // characters, or is the first 13 characters when there is none.
  std::size_t stem_length = given.substr(0, 14).find_first_of(". ");
  if (stem_length == std::string::npos) stem_length = 13;
  const std::string stem = given.substr(0, stem_length);

  std::string current = given;
  for (int attempt = 0; attempt < 99; ++attempt) {
    if (attempt > 0) {
      const char number[3] = {static_cast<char>('0' + attempt / 10),
                              static_cast<char>('0' + attempt % 10), '\0'};
      current = padRight(stem + number + ".txt", 20);
    }
    unit = fs.createNew(trimName(current));
    if (unit) {
      name = current;
      return true;
    }
  }
  name = given;
  return false;
}

}  // namespace veg
