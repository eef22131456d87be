// A child window that shows part of the document: after the document changed
// behind it (a read, an edit in another window, an undo) it shows it again.
#pragma once

namespace cps::gui {

class ReloadsFromDocument {
 public:
  virtual ~ReloadsFromDocument() = default;
  virtual void reloadFromDocument() = 0;
};

}  // namespace cps::gui
