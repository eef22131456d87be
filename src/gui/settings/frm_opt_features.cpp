#include "gui/settings/frm_opt_features.hpp"

#include <QComboBox>
#include <string>

#include "core/app/text_ids.hpp"
#include "gui/settings/settings_binder.hpp"

namespace cps::gui {

namespace {

std::string controlName(int id) {
  if (id >= 0 && id <= 11) return "Combo1(" + std::to_string(id) + ")";
  if (id >= 20 && id <= 25) return "Check1(" + std::to_string(id - 20) + ")";
  return {};
}

}  // namespace

FrmOptFeatures::FrmOptFeatures(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "选项功能", text::kOptFeaturesCaption, parent) {
  finish(m_binder->buildColumns(OptionalFeatureFields(), QStringLiteral("Frame1")),
         OptionalFeatureFields());
}

void FrmOptFeatures::SaveOptFeat(int id) {
  if (const SettingField* field = m_binder->fieldOfControl(controlName(id))) {
    m_binder->store(*field);
  }
}

bool FrmOptFeatures::NotInComboList(int list, int index) const {
  const auto* combo = findChild<QComboBox*>(QStringLiteral("Combo1(%1)").arg(list));
  return combo == nullptr || index < 0 || index >= combo->count();
}

}  // namespace cps::gui
