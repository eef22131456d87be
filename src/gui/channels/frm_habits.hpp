// The edit habits dialog: whether paste and delete ask, insert and close the
// gap, and whether the transmit side is shown as an offset. OK keeps the
// habits and writes the habit file; Cancel changes nothing.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;

namespace cps::gui {

class AppContext;

class FrmHabits final : public QDialog {
 public:
  explicit FrmHabits(AppContext& context, QWidget* parent = nullptr);

 private:
  void storeHabits();

  AppContext& m_context;
  std::array<QCheckBox*, 5> m_boxes{};
};

}  // namespace cps::gui
