#include "engine/grading.h"

namespace engine {

namespace {

constexpr char kVeryPoor[] = "very poor";
constexpr char kPoor[] = "poor     ";
constexpr char kFair[] = "fair     ";
constexpr char kGood[] = "good     ";
constexpr char kVeryGood[] = "very good";

}  // namespace

int printedPercent(float value) {
  return static_cast<int>(static_cast<double>(value) * static_cast<double>(100.1f));
}

const char* grade(int fit_percent) {
  if (fit_percent <= 49) return kVeryPoor;
  if (fit_percent <= 59) return kPoor;
  if (fit_percent <= 69) return kFair;
  if (fit_percent <= 79) return kGood;
  return kVeryGood;
}

void zeroUnusedColumns(int analysis_type, int& community_composition, int& community_cover,
                       int& sample_cover) {
  switch (analysis_type) {
    case 2: community_cover = sample_cover = 0; break;
    case 3: community_composition = 0; break;
    case 4: community_composition = community_cover = sample_cover = 0; break;
    case 5: community_composition = 0; break;
    default: break;
  }
}

}  // namespace engine
