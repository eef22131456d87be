#include "gui/app/list_routines.hpp"

#include <QCheckBox>
#include <QComboBox>

#include "core/app/list_routines.hpp"

namespace cps::gui {

namespace {

// The rules live in the core and work on plain texts; the lists are short.
ListItems itemsOf(const QComboBox& list) {
  ListItems items;
  items.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
  return items;
}

}  // namespace

void ShowCheckValue(QCheckBox& box, int value) {
  box.setChecked(cps::CheckValueToShow(value) == 1);
}

void StoreListIndex(const QComboBox& list, int& variable) {
  if (list.currentIndex() >= 0) variable = list.currentIndex();
}

void SelectByText(QComboBox& list, const QString& text) {
  list.setCurrentIndex(cps::PositionToShowForText(itemsOf(list), text.toStdString()));
}

void SelectByIndex(QComboBox& list, int position) {
  list.setCurrentIndex(cps::PositionToShowForIndex(itemsOf(list), position));
}

void AddListItemOnce(QComboBox& list, const QString& text) {
  auto items = itemsOf(list);
  if (cps::AddListItemOnce(items, text.toStdString())) list.addItem(text);
}

int IndexOfText(const QComboBox& list, const QString& text, int defaultValue) {
  return cps::IndexOfText(itemsOf(list), text.toStdString(), defaultValue);
}

QString FindListItem(const QComboBox& list, const QString& text) {
  return QString::fromStdString(cps::FindListItem(itemsOf(list), text.toStdString()));
}

QString ListItemAt(const QComboBox& list, int position) {
  return QString::fromStdString(cps::ListItemAt(itemsOf(list), position));
}

}  // namespace cps::gui
