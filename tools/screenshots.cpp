// cps530-screenshots: pictures of the main windows and dialogs for the README,
// in English and Chinese, taken from the real windows on a copy of the built
// program folder. Run it through scripts/screenshots (on a virtual display).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "core/app/ini_file.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/defaults.hpp"
#include "core/link/radio_image.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/app/frm_model_info.hpp"
#include "gui/app/message_box_prompter.hpp"
#include "gui/app/start_up.hpp"
#include "gui/channels/frm_change_channels.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"
#include "gui/channels/frm_habits.hpp"
#include "gui/channels/frm_msg_confirm.hpp"
#include "gui/link/load_frm_link.hpp"
#include "gui/link/radio_link.hpp"
#include "gui/report/frm_compare.hpp"
#include "gui/report/report_commands.hpp"
#include "print/report_pages.hpp"

namespace fs = std::filesystem;
using namespace cps;
using namespace cps::gui;

namespace {

void save(QWidget& widget, const QString& folder, const QString& name) {
  widget.show();
  widget.raise();
  widget.activateWindow();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
  if (!widget.grab().save(file)) std::cerr << "cannot write " << file.toStdString() << '\n';
  std::cout << file.toStdString() << '\n';
}

// A few channels, so that the report and the comparison have something to show.
void fillChannels(RunState& state) {
  auto& doc = state.workingDocument;
  const std::array<const char*, 6> rx{"43510000", "43520000", "43612500",
                                      "44000000", "44612500", "43000000"};
  const std::array<int, 6> numbers{1, 2, 3, 5, 17, 18};
  doc.channelCount = static_cast<std::int16_t>(rx.size());
  for (std::size_t i = 0; i < rx.size(); ++i) {
    ChannelRecord c;
    c.number = static_cast<std::int16_t>(numbers[i]);
    c.rxFreq.assign(rx[i]);
    c.offset.bytes.fill('\0');
    c.power = static_cast<std::int16_t>(i % 3);
    c.decodeTone = static_cast<std::int16_t>(i * 7);
    c.encodeTone = static_cast<std::int16_t>(i * 7);
    c.whisper = static_cast<std::int16_t>(i == 2);
    c.pttId = static_cast<std::int16_t>(i == 3 ? 1 : 0);
    doc.channels[i] = c;
  }
}

// The differences window against a customer's changed copy, and the first page
// of the report as a PDF, turned into a picture by poppler's pdftoppm.
void reportScreenshots(AppContext& context, const fs::path& base, const QString& out,
                       const QString& suffix) {
  fillChannels(context.state);
  context.state.path = "customer.dat";
  FrmMain window(context);
  ComparedFile other = ShownCopyOf(context.state);
  auto& doc = other.file.document;
  doc.channels[1].rxFreq.assign("43525000");
  doc.channels[3].power = 0;
  doc.channelCount = 5;
  doc.scan.bytes[ScanBlock::kMode] = 1;
  doc.optionalFeatures.values[OptionalFeaturesBlock::kVox] = 1;
  doc.message.lines[0].assign("WELCOME");
  if (FrmCompare* compare =
          ShowDifferences(context, window, other.view(), QStringLiteral("customer-2024.dat"))) {
    save(*compare, out, QStringLiteral("compare_window") + suffix);
    compare->close();
  }
  const QString pdf = QString::fromStdString((base / "report.pdf").string());
  const QString error = print::WriteReportPdf(
      pdf, ReportHtmlOfWorkingDocument(context),
      {QStringLiteral("customer.dat"), context.text(text::kReportPage)}, QPageSize(QPageSize::A4));
  if (!error.isEmpty()) {
    std::cerr << error.toStdString() << '\n';
    return;
  }
  const QString page = QDir(out).filePath(QStringLiteral("report_page") + suffix);
  if (QProcess::execute(QStringLiteral("pdftoppm"),
                        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"),
                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, page}) != 0) {
    std::cerr << "pdftoppm (poppler-utils) could not turn the report into a picture\n";
    return;
  }
  std::cout << page.toStdString() << ".png\n";
}

// Every question answered as a dealer at the desk would go on.
class GoAheadPrompter final : public Prompter {
 public:
  Answer ask(const Message& message) override {
    switch (message.buttons) {
      case Buttons::YesNo:
      case Buttons::YesNoCancel:
        return Answer::Yes;
      default:
        return Answer::Ok;
    }
  }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return {}; }
};

void waitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

// A radio's memory with a document in it and some production and dealer data.
void writeRadioMemory(const fs::path& file) {
  RunState radio;
  radio.model.select("TW530G", "400 - 480 MHz");
  ApplyDocumentDefaults(radio, Today{"2026-12-10", 12});
  GoAheadPrompter quiet;
  RadioImage image{};
  ClearImage(image);
  PackDocumentToImage(radio, image, CodecContext{radio.model.limits, quiet});
  std::vector<char> memory(3328, '\xFF');
  std::copy(image.begin(), image.end(), memory.begin());
  const auto put = [&memory](int index, const std::string& text) {
    std::copy(text.begin(), text.end(), memory.begin() + kInfoAreaAddress + index);
    memory[static_cast<std::size_t>(kInfoAreaAddress + index) + text.size()] = 0;
  };
  put(0, "0595");
  put(16, "12-1-E-1");
  put(32, "001A");
  put(48, "TW5G2612000417");
  put(64, "2026-11-30");
  put(432, "D-0815");
  put(448, "2026-12-02");
  std::ofstream(file, std::ios::binary).write(memory.data(), 3328);
}

// A paced read in the progress dialog, then the radio information window.
void linkScreenshots(AppContext& context, const fs::path& base, const QString& out,
                     const QString& suffix) {
  const QString line = QString::fromStdString((base / "COM1").string());
  writeRadioMemory(base / "radio.img");
  QProcess radio;
  radio.start(QString::fromStdString((base / "V200" / "cps530-radiosim").string()),
              {QStringLiteral("--pace=9600"), QStringLiteral("--link=") + line,
               QStringLiteral("--image=") + QString::fromStdString((base / "radio.img").string())});
  waitFor([&line] { return QFile::exists(line); }, 5000);
  WriteProfileString(base / "ports.ini", "SERIALCOMM", "COM1", line.toStdString());
  context.comPort = 1;

  GoAheadPrompter goAhead;
  Prompter& previous = context.prompter();
  context.setPrompter(goAhead);
  {
    FrmMain window(context);
    window.resize(980, 660);
    window.show();
    RadioLink link(context, window);
    QTimer::singleShot(2600, [&out, &suffix] {
      if (QWidget* progress = QApplication::activeModalWidget()) {
        save(*progress, out, QStringLiteral("progress_dialog") + suffix);
      }
    });
    link.mnuReadFromRadio_Click();
    waitFor([] { return false; }, 800);
    link.MnuLocalInfo_Click();
    waitFor([&window] { return window.childWindow(QStringLiteral("FrmRadioInfo")) != nullptr; },
            10000);
    if (QWidget* info = window.childWindow(QStringLiteral("FrmRadioInfo"))) {
      save(*info, out, QStringLiteral("radio_info") + suffix);
    }
  }
  context.setPrompter(previous);
  radio.terminate();
  radio.waitForFinished(3000);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QLocale::setDefault(QLocale::c());
  if (argc < 3) {
    std::cerr << "usage: cps530-screenshots PROGRAM_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  QTemporaryDir work;
  const fs::path base = fs::path(work.path().toStdString()) / "dist";
  fs::copy(fs::path(argv[1]).parent_path(), base, fs::copy_options::recursive);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(out);

  for (const int language : {kEnglish, kChinese}) {
    const QString suffix = language == kChinese ? QStringLiteral("_zh") : QStringLiteral("_en");
    WriteProfileString(base / "language" / "mysetup.ini", "language", "IsFirstRun", "0");
    WriteProfileString(base / "language" / "mysetup.ini", "language", "CurrentLanguage",
                       std::to_string(language));
    AppContext context(ProgramFolders::OfProgramFolder(base / "V200"), "cps530");
    MessageBoxPrompter prompter(context);
    context.setPrompter(prompter);
    StartUp(context, {language == kChinese, false}, [] {});

    {
      FrmMain window(context);
      const RadioLink link(context, window);
      window.resize(980, 660);
      save(window, out, QStringLiteral("main_window") + suffix);
      if (auto* table = dynamic_cast<frmCommChInfo*>(
              window.ShowChildWindow(QLatin1String(kChannelWindowName)))) {
        table->setCursor(1, 1);
        save(*table, out, QStringLiteral("channel_table") + suffix);
        table->setCursor(1, 6);
        save(*table, out, QStringLiteral("channel_table_list") + suffix);
        if (QWidget* dialog = window.ShowChildWindow(QStringLiteral("FrmCHInfoEdit"))) {
          save(*dialog, out, QStringLiteral("channel_dialog") + suffix);
        }
        // Four channels, selected, for a change to all of them; the document
        // goes back as it was for the windows after.
        const DocumentRecord before = context.state.workingDocument;
        for (int position = 2; position <= 4; ++position) {
          ApplyChannelEdit(context.state, {prompter, window}, 0, position, 1,
                           FormatFixed5(440 + position * 0.0125));
        }
        table->setCursor(4, 6);
        table->selectRows({1, 2, 3, 4});
        save(*table, out, QStringLiteral("channel_selection") + suffix);
        {
          FrmChangeChannels change(context, 4, 0, &window);
          save(change, out, QStringLiteral("change_channels") + suffix);
        }
        context.state.workingDocument = before;
        table->setCursor(1, 1);
        table->reShowAllGrid();
      }
      {
        FrmHabits habits(context, &window);
        save(habits, out, QStringLiteral("habits_dialog") + suffix);
        FrmMsgConfirm question(context, ConfirmMode::Paste, &window);
        save(question, out, QStringLiteral("paste_question") + suffix);
      }
      for (const auto& [name, file] : std::initializer_list<std::pair<const char*, const char*>>{
               {"FrmOptFeatures", "optional_features"},
               {"FrmDTMF", "dtmf"},
               {"FrmScan", "scan"},
               {"FrmAlert", "alert"},
               {"FrmKey", "keys"},
               {"FrmEmbMsg", "message"},
               {"FrmTestFre", "test_frequencies"},
               {"FrmRadio", "fm_presets"}}) {
        if (QWidget* settings = window.ShowChildWindow(QLatin1String(name))) {
          save(*settings, out, QLatin1String(file) + suffix);
        }
      }
    }
    reportScreenshots(context, base, out, suffix);
    {
      FrmModelInfo dialog(context, [] {});
      save(dialog, out, QStringLiteral("model_dialog") + suffix);
    }
    {
      LoadFrmLink dialog(context);
      save(dialog, out, QStringLiteral("first_run_dialog") + suffix);
    }
    linkScreenshots(context, base, out, suffix);
  }
  return 0;
}
