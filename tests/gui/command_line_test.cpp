// The desktop program's command line: a data file to open, --help and
// --version answered before the toolkit needs a display, anything else refused.
#include "gui/app/command_line.hpp"

#include <QtTest>
#include <string>
#include <vector>

namespace cps::gui::test {

using Action = DesktopCommandLine::Action;
// Rows hold the words as Qt lists; the parser takes them as the C++ strings of argv.
using Arguments = QStringList;

std::vector<std::string> Words(const QStringList& arguments) {
  std::vector<std::string> words;
  for (const auto& argument : arguments) words.push_back(argument.toStdString());
  return words;
}

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void parses_data() {
    QTest::addColumn<Arguments>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    QTest::newRow("nothing") << Arguments{} << int(Action::Run) << "";
    QTest::newRow("a data file") << Arguments{"/home/ann/radio 1.dat"} << int(Action::Run)
                                 << "/home/ann/radio 1.dat";
    QTest::newRow("help") << Arguments{"--help"} << int(Action::Help) << "";
    QTest::newRow("short help after a file") << Arguments{"a.dat", "-h"} << int(Action::Help) << "";
    QTest::newRow("version") << Arguments{"--version"} << int(Action::Version) << "";
    QTest::newRow("short version") << Arguments{"-v"} << int(Action::Version) << "";
    QTest::newRow("a file named like an option, after --")
        << Arguments{"--", "--help"} << int(Action::Run) << "--help";
    QTest::newRow("a lone dash is a file name") << Arguments{"-"} << int(Action::Run) << "-";
    QTest::newRow("unknown option") << Arguments{"--frobnicate"} << int(Action::Refuse) << "";
    QTest::newRow("two files") << Arguments{"a.dat", "b.dat"} << int(Action::Refuse) << "";
  }
  void parses() {
    QFETCH(Arguments, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    const auto line = ParseDesktopCommandLine(Words(arguments));
    QCOMPARE(int(line.action), action);
    QCOMPARE(QString::fromStdString(line.file), file);
    QCOMPARE(line.error.empty(), action != int(Action::Refuse));
  }

  // Qt's own options are still in the list when --help is looked for.
  void helpAndVersionAmongTheToolkitsOptions_data() {
    QTest::addColumn<Arguments>("arguments");
    QTest::addColumn<int>("action");
    QTest::newRow("help") << Arguments{"-platform", "offscreen", "--help"} << int(Action::Help);
    QTest::newRow("version") << Arguments{"-style", "fusion", "--version"} << int(Action::Version);
    QTest::newRow("neither") << Arguments{"-platform", "offscreen", "a.dat"} << int(Action::Run);
    QTest::newRow("a file after --") << Arguments{"--", "--version"} << int(Action::Run);
  }
  void helpAndVersionAmongTheToolkitsOptions() {
    QFETCH(Arguments, arguments);
    QFETCH(int, action);
    QCOMPARE(int(HelpOrVersionAsked(Words(arguments))), action);
  }
};

}  // namespace cps::gui::test

QTEST_GUILESS_MAIN(cps::gui::test::CommandLineTest)
#include "command_line_test.moc"
