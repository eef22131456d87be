// A child window that holds typed values in its controls until it commits them
// to the document; the main window asks it to before a read or a write.
#pragma once

namespace cps::gui {

class CommitsEdits {
 public:
  virtual ~CommitsEdits() = default;
  // Stores the value of the control being edited, as leaving it would.
  virtual void commitEdits() = 0;
};

}  // namespace cps::gui
