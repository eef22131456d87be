// A data file of any content as the report shows it: the report model and its
// HTML page. Whatever the bytes, the page is whole UTF-8, names every section
// it was given, and carries nothing of the file as markup.
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/utf8.hpp"
#include "core/compare/compare.hpp"
#include "core/document/records.hpp"
#include "core/report/report.hpp"
#include "fuzz_support.hpp"

namespace {

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("report", what);
}

}  // namespace

// The input: the data file, then its side file, padded with blanks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPair = cps::DocumentRecord::kSize + cps::SideFileRecord::kSize;
  std::vector<std::uint8_t> bytes(data, data + std::min(size, kPair));
  bytes.resize(kPair, 0x20);
  const auto folder = cps::fuzz::ScratchFolder();
  cps::fuzz::WriteBytes(folder / "reported.dat", {bytes.data(), cps::DocumentRecord::kSize});
  cps::fuzz::WriteBytes(folder / "reported.NVD",
                        {bytes.data() + cps::DocumentRecord::kSize, cps::SideFileRecord::kSize});
  const auto read = cps::ReadComparedFile((folder / "reported.dat").string());
  if (!read.file) return 0;
  const cps::TextOf textOf = [](int id) { return "T" + std::to_string(id); };
  const bool offsetMode = size > 0 && (data[0] & 1) != 0;
  const auto report =
      cps::BuildReport(read.file->view(), {"reported.dat", "2026-12-11", offsetMode}, textOf);
  const std::string html = cps::ReportHtml(report, "en");
  check(cps::FirstNonUtf8(html) == std::string::npos, "the page is not whole UTF-8");
  for (const auto& section : report.sections) {
    check(html.find(cps::HtmlEscape(section.title)) != std::string::npos,
          "a section is missing from the page");
  }
  // The only markup is the page's own: no tag a file's text could have opened.
  check(html.find("<script") == std::string::npos && html.find("<img") == std::string::npos,
        "a file's text became markup");
  return 0;
}
