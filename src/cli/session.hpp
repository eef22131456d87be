// What every verb of cps530-cli works with: the texts, the version table, the
// document and the file commands that act on it, as the desktop has them.
#pragma once

#include <ctime>
#include <string>

#include "cli/commands.hpp"
#include "cli/stderr_prompter.hpp"
#include "core/app/file_commands.hpp"
#include "core/app/installation.hpp"
#include "core/app/text_table.hpp"
#include "core/app/version_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/file_io.hpp"
#include "core/run_state.hpp"

namespace cps::cli {

inline Today systemToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  return {date, local.tm_mon + 1};
}

class Session {
 public:
  explicit Session(const Environment& env, PromptAnswers answers = {})
      : m_env(env),
        m_installation(makeInstallation(env)),
        m_prompter(env.io.err, m_installation.langTextFunction(), std::move(answers)),
        m_files(m_installation.fileContext(m_state, m_prompter, m_observer, systemToday())) {}

  // The file context and the prompter point into the session.
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  RunState& state() { return m_state; }
  const Environment& environment() const { return m_env; }
  const VersionTable& versions() const { return m_installation.versions; }
  std::string text(int id) { return m_installation.langText(id); }
  FileContext& files() { return m_files; }
  StderrPrompter& prompter() { return m_prompter; }
  Effects effects() { return {m_prompter, m_observer}; }
  CodecContext codec() { return {m_state.model.limits, m_prompter}; }

  // Opens a data file as the desktop's Open does: version check, size check,
  // side file, and the file's model and band become the current ones.
  bool open(const std::string& file) {
    const auto result = OpenPath(m_files, file);
    if (result.outcome == FileOutcome::Done) return true;
    if (!result.failure.detail.empty())
      m_env.io.err << "cps530-cli: " << result.failure.detail << '\n';
    if (result.outcome == FileOutcome::ExitProgram) {
      m_env.io.err << "cps530-cli: " << file << " belongs to another program version"
                   << (result.launch.empty() ? std::string() : ": " + result.launch.string())
                   << '\n';
    } else if (result.outcome == FileOutcome::Cancelled &&
               !m_installation.versions.problem.empty()) {
      m_env.io.err << "cps530-cli: " << m_installation.versions.problem << '\n';
    }
    return false;
  }

  // Opens a data file that this verb will change and save: its lock is taken
  // first and held until the session ends, so that a second program changing
  // the same file waits, or is told the file is busy, instead of one of the
  // two changes being lost.
  bool openForChange(const std::string& file) {
    auto locked = LockForChange(file);
    if (!locked.ok()) {
      m_env.io.err << "cps530-cli: " << locked.error << '\n';
      return false;
    }
    m_lock = std::move(locked.lock);
    m_files.heldLock = &m_lock;
    return open(file);
  }

  bool saveAs(const std::string& file) {
    const auto result = SaveAsPath(m_files, file);
    if (!result.failure.detail.empty())
      m_env.io.err << "cps530-cli: " << result.failure.detail << '\n';
    return result.outcome == FileOutcome::Done;
  }

  bool save() {
    const auto result = SaveToCurrentPath(m_files);
    if (!result.failure.detail.empty())
      m_env.io.err << "cps530-cli: " << result.failure.detail << '\n';
    return result.outcome == FileOutcome::Done;
  }

 private:
  static Installation makeInstallation(const Environment& env) {
    Installation installation(env.folders, "cps530-cli");
    installation.useLanguageFile(env.language);
    installation.loadVersionTable();
    return installation;
  }

  const Environment& m_env;
  Installation m_installation;
  RunState m_state;
  StderrPrompter m_prompter;
  NullObserver m_observer;
  FileContext m_files;
  FileLock m_lock;
};

}  // namespace cps::cli
