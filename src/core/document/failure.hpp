// The one shape in which the core reports what went wrong: the language text
// the user is shown, and a detail that names the file, field or value for the
// command line and for logs.
#pragma once

#include <string>

namespace cps {

struct Failure {
  int textId = 0;      // 0: no text of its own (the detail says it all)
  std::string detail;  // empty when nothing went wrong
};

}  // namespace cps
