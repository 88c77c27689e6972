#include "vegfit/testing/html_check.h"

#include <vector>

namespace vegfit::testing {

namespace {

bool implied(const std::string& tag) { return tag == "td" || tag == "th" || tag == "tr"; }

}  // namespace

std::string nestingFault(const std::string& html) {
  std::vector<std::string> open;
  std::size_t at = 0;
  const auto fault = [&](const std::string& what) {
    return what + " at offset " + std::to_string(at);
  };
  while ((at = html.find('<', at)) != std::string::npos) {
    const std::size_t end = html.find('>', at);
    if (end == std::string::npos) return fault("an unended tag");
    const std::string tag = html.substr(at + 1, end - at - 1);
    if (tag.rfind("!DOCTYPE", 0) == 0) {
      at = end + 1;
      continue;
    }
    const bool closing = !tag.empty() && tag[0] == '/';
    std::string name =
        tag.substr(closing ? 1 : 0, tag.find_first_of(" /", closing ? 1 : 0) - (closing ? 1 : 0));
    if (name.empty() ||
        name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
      return fault("the tag '<" + tag + ">'");
    if (name == "script") return fault("a script");
    if (closing) {
      while (!open.empty() && open.back() != name && implied(open.back())) open.pop_back();
      if (open.empty() || open.back() != name)
        return fault("'</" + name + ">' closing nothing open");
      open.pop_back();
    } else if (tag.back() != '/') {
      if (name == "td" || name == "th") {
        if (!open.empty() && (open.back() == "td" || open.back() == "th")) open.pop_back();
      } else if (name == "tr" || name == "tbody" || name == "thead") {
        while (!open.empty() && implied(open.back())) open.pop_back();
      }
      open.push_back(name);
      // The text of style holds no markup: skip to its end.
      if (name == "style") {
        const std::size_t close = html.find("</style>", end);
        if (close == std::string::npos) return fault("an unended style");
        at = close;
        continue;
      }
    }
    at = end + 1;
  }
  if (!open.empty()) return "'" + open.back() + "' not closed at the end";
  return {};
}

}  // namespace vegfit::testing
