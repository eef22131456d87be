// cps530-table-bench: how long the channel table takes to draw a page of 16
// channels, to switch to another group, and to commit a typed receive
// frequency through to the redrawn row, and to set a list item on the 16
// selected channels of a page, on Qt's offscreen platform. Plain
// timing with the median of many runs; no benchmark library.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/document/channel_list.hpp"
#include "core/document/defaults.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"

namespace {

using namespace cps;
using namespace cps::gui;

class OkPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return {}; }
};

double medianMicroseconds(int runs, const std::function<void(int)>& step) {
  std::vector<double> times;
  times.reserve(static_cast<std::size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    step(i);
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[static_cast<std::size_t>(runs / 2)];
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: cps530-table-bench PROGRAM_FOLDER\n");
    return 2;
  }
  QTemporaryDir work;
  const auto base = std::filesystem::path(work.path().toStdString()) / "dist";
  std::filesystem::copy(std::filesystem::path(argv[1]).parent_path(), base,
                        std::filesystem::copy_options::recursive);
  AppContext context(ProgramFolders::OfProgramFolder(base / "V200"), "cps530");
  OkPrompter prompter;
  context.setPrompter(prompter);
  context.versions = LoadVersionTable(context.folders.versionTable());
  context.setLanguage(kEnglish);
  context.language.shown = kEnglish;
  context.isFirstRun = false;
  ApplyDocumentDefaults(context.state, Today{"2026-12-10", 12});
  // Every position of the first two groups holds a channel with tones set.
  NullObserver nobody;
  for (int g = 0; g < 2; ++g) {
    for (int p = 1; p <= 16; ++p) {
      ApplyChannelEdit(context.state, {prompter, nobody}, g, p, 1, std::to_string(430 + p));
      ApplyChannelEdit(context.state, {prompter, nobody}, g, p, 4, std::to_string(p));
    }
  }

  FrmMain main(context);
  main.show();
  auto* table = dynamic_cast<frmCommChInfo*>(main.childWindow(kChannelWindowName));
  auto* groups = table->findChild<QComboBox*>(QStringLiteral("Combo7"));
  auto* text1 = table->findChild<QLineEdit*>(QStringLiteral("Text1"));
  QApplication::processEvents();
  constexpr int kRuns = 400;

  // Drawing: the page cleared and drawn again from the document.
  const double page = medianMicroseconds(kRuns, [table](int i) {
    if (i % 2 == 0) {
      table->ReShowChInfoByLanguage();
    } else {
      table->reShowAllGrid();
    }
  });
  const double redrawAll = medianMicroseconds(kRuns, [table](int) { table->reShowAllGrid(); });
  const double groupSwitch =
      medianMicroseconds(kRuns, [groups](int i) { groups->setCurrentIndex(i % 2); });
  groups->setCurrentIndex(0);
  table->setCursor(5, 1);
  const double commit = medianMicroseconds(kRuns, [table, text1](int i) {
    text1->setText(QString::fromStdString(i % 2 == 0 ? "435.125" : "435.25"));
    table->SaveGridEdit();
  });
  // A list item chosen with the whole page selected: sixteen channels edited
  // through the rules of a single edit, as one step, and their rows redrawn.
  table->setCursor(5, 6);
  table->selectAllRows();
  auto* power = table->findChild<QComboBox*>(QStringLiteral("Combo2"));
  const double block = medianMicroseconds(kRuns, [table, power](int i) {
    power->setCurrentIndex(i % 2);
    table->SaveGridEdit();
  });
  std::printf("page drawn again (unchanged cells left alone)    %8.1f us\n", redrawAll);
  std::printf("texts applied and page drawn                     %8.1f us\n", page);
  std::printf("group switched (16 channels drawn)               %8.1f us\n", groupSwitch);
  std::printf("typed receive frequency committed and redrawn    %8.1f us\n", commit);
  std::printf("list item set on 16 selected channels, redrawn   %8.1f us\n", block);
  return 0;
}
