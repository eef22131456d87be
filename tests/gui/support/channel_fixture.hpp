// What the channel window tests start from: the main window with its channel
// table open and active, and a copy of the run's state to which the same edits
// are made through the core alone, for comparing the documents afterwards.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTableWidget>
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
