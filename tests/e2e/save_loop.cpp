// A program that does nothing but save a data file, the two documents in
// turn, until it is killed: the crash-safe save test kills it at random moments.
//
//   cps530_save_loop FILE
//
// It prints "saving" once the file is on disk whole, then saves for ever.
#include <cstdio>

#include "core/document/data_file.hpp"
#include "save_documents.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cps530_save_loop FILE\n");
    return 2;
  }
  const std::string file = argv[1];
  const cps::RunState documents[2] = {cps::e2e::SaveDocument(0), cps::e2e::SaveDocument(1)};
  for (unsigned long n = 0;; ++n) {
    const auto& state = documents[n % 2];
    if (const auto error = cps::WriteDataFile(file, state.workingDocument, state.workingSide);
        !error.empty()) {
      std::fprintf(stderr, "cps530_save_loop: %s\n", error.c_str());
      return 1;
    }
    if (n == 0) {
      std::printf("saving\n");
      std::fflush(stdout);
    }
  }
}
