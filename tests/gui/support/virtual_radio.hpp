// The virtual radio for widget tests: cps530-radiosim on a pseudo-terminal,
// ended with the test.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "process.hpp"

namespace cps::gui::test {

class VirtualRadio {
 public:
  // Starts the radio with `options`; device() is empty when it did not start.
  explicit VirtualRadio(std::vector<std::string> options) {
    options.insert(options.begin(), CPS_RADIOSIM);
    m_process = std::make_unique<e2e::Process>(options);
    m_device = m_process->readLine(std::chrono::seconds(10));
  }
  ~VirtualRadio() { m_process->terminate(); }
  VirtualRadio(const VirtualRadio&) = delete;
  VirtualRadio& operator=(const VirtualRadio&) = delete;

  const std::string& device() const { return m_device; }

  // Ends the radio and returns its log (every frame in and out with --verbose).
  std::string stopAndLog() {
    m_process->terminate();
    return m_process->wait(std::chrono::seconds(10)).err;
  }

 private:
  std::unique_ptr<e2e::Process> m_process;
  std::string m_device;
};

}  // namespace cps::gui::test
