// What the command line says, as the user reads it: the text of a message
// from a language file beside the program under test, English unless asked.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace cps::e2e {

inline std::string MessageText(int id, const std::string& languageFile = "english.ini") {
  std::ifstream in(std::filesystem::path(CPS_CLI).parent_path() / "language" / languageFile);
  const std::string key = std::to_string(id) + "=";
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with(key)) return line.substr(key.size());
  }
  return "(no text " + std::to_string(id) + ")";
}

}  // namespace cps::e2e
