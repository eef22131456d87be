#include "gui/app/frm_model_info.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "core/document/instances.hpp"
#include "core/document/model.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/enter_as_tab.hpp"
#include "gui/app/list_routines.hpp"

namespace cps::gui {

namespace {

// Wide enough for the longest band label in either language's font.
constexpr int kListMinimumWidth = 180;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FrmModelInfo::FrmModelInfo(AppContext& context, std::function<void()> loadNewDoc, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_loadNewDoc(std::move(loadNewDoc)),
      m_modelLabel(new QLabel(QStringLiteral("机型"))),
      m_bandLabel(new QLabel(QStringLiteral("频段"))),
      m_models(new QComboBox),
      m_bands(new QComboBox),
      m_ok(new QPushButton(QStringLiteral("确定"))),
      m_cancel(new QPushButton(QStringLiteral("取消"))) {
  setObjectName(QStringLiteral("FrmModelInfo"));
  setWindowTitle(QStringLiteral("机型信息"));
  setModal(true);

  m_modelLabel->setObjectName(QStringLiteral("Label1"));
  m_bandLabel->setObjectName(QStringLiteral("Label2"));
  m_models->setObjectName(QStringLiteral("Combo1"));
  m_bands->setObjectName(QStringLiteral("Combo2"));
  m_modelLabel->setBuddy(m_models);
  m_bandLabel->setBuddy(m_bands);

  for (std::string_view model : {kModelTW530, kModelTW530G}) {
    m_models->addItem(qs(ShownNameOfModel(model)));
  }
  for (const auto& band : BandTable()) m_bands->addItem(qs(band.label));
  for (QComboBox* list : {m_models, m_bands}) {
    list->setMinimumWidth(kListMinimumWidth);
    EnterAsTab::install(*list);
  }

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->addRow(m_modelLabel, m_models);
  form->addRow(m_bandLabel, m_bands);

  auto* buttons = OkCancelButtonBox(*this, m_ok, m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  // The dialog takes the size its texts need in the language shown, and keeps it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(m_models, m_bands);
  setTabOrder(m_bands, m_ok);
  setTabOrder(m_ok, m_cancel);

  connect(m_ok, &QPushButton::clicked, this, &FrmModelInfo::commandOkClick);

  showCurrent();
  applyTexts();
  m_models->setFocus();
}

void FrmModelInfo::applyTexts() {
  setWindowTitle(m_context.text(text::kModelInfoCaption));
  m_modelLabel->setText(m_context.text(text::kModelLabel));
  m_bandLabel->setText(m_context.text(text::kBandLabel));
  SetOkCancelCaptions(*this, m_context);
}

void FrmModelInfo::showCurrent() {
  const auto& model = m_context.state.model;
  SelectByText(*m_models, qs(ShownNameOfModel(model.currentModel)));
  SelectByText(*m_bands, qs(model.currentBandLabel));
}

void FrmModelInfo::commandOkClick() {
  auto& state = m_context.state;
  const std::string model = ModelOfShownName(m_models->currentText().toStdString());
  const std::string band = m_bands->currentText().toStdString();
  if (model != state.model.currentModel || band != state.model.currentBandLabel) {
    Message question = TextMessage(text::kConfirmModelChange, Buttons::OkCancel, Icon::Warning);
    question.titleTextId = text::kConfirmModelChangeTitle;
    if (m_context.prompter().ask(question) == Answer::Ok) {
      state.model.select(model, band);
      // The new document starts from these; the document carries them until then too.
      SetModelInfoFromApplication(state);
      if (m_loadNewDoc) m_loadNewDoc();
    }
  }
  accept();
}

}  // namespace cps::gui
