// The verbs of cps530-cli on documents. Each returns the exit status: 0 done,
// 1 an input or file refused (one line on stderr says what and why).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cps::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

struct NewOptions {
  std::string output;
  std::string model = "TW530G";
  std::string band = "400 - 480 MHz";
};

struct EditOptions {
  std::string file;
  bool offsetMode = false;
  int channel = 0;
  std::vector<std::string> pairs;  // field, value, field, value, ...
};

int RunNew(const NewOptions& options, Streams io);
int RunShow(const std::string& file, bool offsetMode, Streams io);
int RunDump(const std::string& file, Streams io);
int RunEdit(const EditOptions& options, Streams io);

// The field codes by the names the command line gives them.
struct FieldName {
  const char* name;
  int code;
};
const std::vector<FieldName>& EditFieldNames();

}  // namespace cps::cli
