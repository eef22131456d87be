#include "gui/settings/frm_opt_features.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "core/app/text_ids.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/child_window.hpp"
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
    : QWidget(parent),
      m_context(context),
      m_binder(new SettingsBinder(context, observer, *this)),
      m_close(new QPushButton(QStringLiteral("关闭"))),
      m_help(new QPushButton(QStringLiteral("帮助"))) {
  setWindowTitle(QStringLiteral("选项功能"));
  m_close->setObjectName(QStringLiteral("CommandClose"));
  m_help->setObjectName(QStringLiteral("CommandHelp"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_binder->buildColumns(OptionalFeatureFields(), QStringLiteral("Frame1")));
  layout->addLayout(buttons);
  layout->addStretch();
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  connect(m_close, &QPushButton::clicked, this, [this] { CloseChildWindow(*this); });

  ChangShowByLanguage();
  m_binder->showDocument();
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

void FrmOptFeatures::ChangShowByLanguage() {
  setWindowTitle(m_context.text(text::kOptFeaturesCaption));
  m_binder->applyTexts();
  SetCloseHelpCaptions(*this, m_context);
}

void FrmOptFeatures::reloadFromDocument() { m_binder->showDocument(); }

}  // namespace cps::gui
