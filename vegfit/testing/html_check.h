// A check of the HTML the report writes: every element closed in the order
// it was opened, as the HTML parser reads it (the end tags of table rows
// and cells may be left out; void and SVG elements written "<x .../>"),
// and no markup but the report's own.
#pragma once

#include <string>

namespace vegfit::testing {

/// Empty when `html` nests as said above; otherwise the first fault, with
/// the offset where it is.
std::string nestingFault(const std::string& html);

}  // namespace vegfit::testing
