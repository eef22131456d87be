// What the channel window tests start from: the main window with its channel
// table open and active, and a copy of the run's state to which the same edits
// are made through the core alone, for comparing the documents afterwards.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "core/document/channel_list.hpp"
#include "core/document/defaults.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/instances.hpp"
#include "gui/app/frm_main.hpp"
#include "gui/channels/frm_comm_ch_info.hpp"
#include "gui_fixture.hpp"

namespace cps::gui::test {

// The core's side of a comparison: every warning answered Ok.
class OkPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return {}; }
};

// The main window with its channel table open and active, and a copy of the
// run's state that the same edits are applied to through the core alone.
struct Table {
  explicit Table(const std::function<void(RunState&)>& prepare = {}) {
    ApplyDocumentDefaults(f.context.state, Today{"2026-12-10", 12});
    if (prepare) prepare(f.context.state);
    CopyWorkingToImage(f.context.state);
    StartNewHistory(f.context.state);
    expected = f.context.state;
    main = std::make_unique<FrmMain>(f.context);
    main->show();
    if (!QTest::qWaitForWindowActive(main.get())) qWarning("the main window is not active");
    window = dynamic_cast<frmCommChInfo*>(main->childWindow(kChannelWindowName));
  }

  template <typename T>
  T* child(const char* name) const {
    return window->findChild<T*>(QLatin1String(name));
  }
  QLineEdit* text1() const { return child<QLineEdit>("Text1"); }
  QTableWidget* grid() const { return child<QTableWidget>("MSFlexGrid1"); }
  QComboBox* groups() const { return child<QComboBox>("Combo7"); }
  QWidget* focus() const { return QApplication::focusWidget(); }

  void type(const QString& keys) { QTest::keyClicks(focus(), keys); }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focus(), key, modifiers);
  }
  QPoint cellCentre(int row, int column) const {
    return grid()->visualRect(grid()->model()->index(row - 1, column - 1)).center();
  }
  void click(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(grid()->viewport(), button, {}, cellCentre(row, column));
  }
  void rightClick(int row, int column) {
    const QPoint at = cellCentre(row, column);
    QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, grid()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid()->viewport(), &menu);
    QTest::mouseRelease(grid()->viewport(), Qt::RightButton, {}, at);
  }
  QPoint cursor() const { return {window->cursorRow(), window->cursorColumn()}; }
  // The main window becomes active again after a dialog or message box closed,
  // as a window manager makes it.
  bool activeAgain() const {
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main.get())) return false;
    // The offscreen platform may still count a closed menu as the active
    // window, which no window manager does.
    if (QApplication::activeWindow() != main.get()) {
      QT_WARNING_PUSH
      QT_WARNING_DISABLE_DEPRECATED
      QApplication::setActiveWindow(main.get());
      QT_WARNING_POP
    }
    return QApplication::activeWindow() == main.get();
  }
  // Waits until the channel command that a menu entry, key or button started
  // has run (commands run on the main window's short timer).
  bool commandRan() const {
    auto* timer =
        main->findChild<QTimer*>(QStringLiteral("TimerCHEdit"), Qt::FindDirectChildrenOnly);
    return timer != nullptr && QTest::qWaitFor([timer] { return !timer->isActive(); });
  }
  const DocumentRecord& doc() const { return f.context.state.workingDocument; }

  // The same edit through the core alone, on the copy.
  void expectEdit(int groupIndex, int position, int code, const std::string& value) {
    NullObserver nobody;
    ApplyChannelEdit(expected, {quiet, nobody}, groupIndex, position, code, value);
  }
  bool documentAsExpected() const {
    return f.context.state.workingDocument.toBytes() == expected.workingDocument.toBytes();
  }
  const ChannelRecord* channel(int number) const {
    const auto& doc = f.context.state.workingDocument;
    const int index = FindChannelIndex(doc, number);
    return index < 0 ? nullptr : &doc.channels[static_cast<std::size_t>(index)];
  }

  GuiFixture f;
  OkPrompter quiet;
  RunState expected;
  std::unique_ptr<FrmMain> main;
  frmCommChInfo* window = nullptr;
};

// Answers the next modal window (a dialog or a message box) once it is shown,
// also when it opens later, on a command's timer; a window that never comes
// fails the test instead of waiting for ever.
inline void answerNextModal(const std::function<void(QWidget&)>& answer) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && ++*tries < 500) return;
    poll->deleteLater();
    poll->stop();
    if (modal == nullptr) {
      QFAIL("no dialog was shown");
      return;
    }
    answer(*modal);
  });
  poll->start(10);
}

// A channel made through the core before the windows open.
inline void AddChannel(RunState& state, int groupIndex, int position, const std::string& rx) {
  OkPrompter ok;
  NullObserver nobody;
  ApplyChannelEdit(state, {ok, nobody}, groupIndex, position, 1, rx);
}

// Channels 1 to 16 of group 1, each receiving 430 + n MHz.
inline void FullFirstGroup(RunState& state) {
  OkPrompter ok;
  NullObserver nobody;
  for (int p = 1; p <= 16; ++p) {
    ApplyChannelEdit(state, {ok, nobody}, 0, p, 1, std::to_string(430 + p));
  }
}

}  // namespace cps::gui::test
