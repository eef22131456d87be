// The differences between the working document and another one (a file or
// the radio), grouped by the window that edits them. A double-click on a
// channel line opens the channel table at that channel, on a setting line
// its window.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "core/compare/compare.hpp"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace cps::gui {

class AppContext;

class FrmCompare final : public QDialog {
 public:
  // Where a double-click leads: a channel by number, or a block's window.
  struct Navigation {
    std::function<void(int channelNumber)> toChannel;
    std::function<void(CompareBlock block)> toBlock;
  };

  FrmCompare(AppContext& context, std::vector<FieldDifference> differences,
             const QString& otherName, Navigation navigation, QWidget* parent = nullptr);

  const std::vector<FieldDifference>& differences() const { return m_differences; }
  // Runs what a double-click on the item does.
  void activate(QTreeWidgetItem* item);

 private:
  void fill();

  AppContext& m_context;
  std::vector<FieldDifference> m_differences;
  QString m_otherName;
  Navigation m_navigation;
  QLabel* m_summary;
  QTreeWidget* m_tree;
};

}  // namespace cps::gui
