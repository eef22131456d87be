// Enter in a drop-down list or check box moves on to the next control as Tab
// does, the way data entry in the dealer's dialogs works; the key is consumed.
#pragma once

#include <QObject>

class QWidget;

namespace cps::gui {

class EnterAsTab final : public QObject {
 public:
  using QObject::QObject;
  // Installs the filter on `control`; the filter is owned by the control.
  static void install(QWidget& control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace cps::gui
