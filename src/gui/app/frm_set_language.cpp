#include "gui/app/frm_set_language.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/settings_files.hpp"
#include "core/app/text_ids.hpp"
#include "core/app/text_table.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/enter_as_tab.hpp"
#include "gui/app/list_routines.hpp"

namespace cps::gui {

namespace {

constexpr int kListMinimumWidth = 160;

}  // namespace

FrmSetLanguage::FrmSetLanguage(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_label(new QLabel(QStringLiteral("选择语言"))),
      m_languages(new QComboBox),
      m_ok(new QPushButton(QStringLiteral("确定"))),
      m_cancel(new QPushButton(QStringLiteral("取消"))) {
  setObjectName(QStringLiteral("FrmSetLanguage"));
  setWindowTitle(QStringLiteral("语言设置"));
  setModal(true);

  m_label->setObjectName(QStringLiteral("Label1"));
  m_languages->setObjectName(QStringLiteral("Combo1"));
  m_label->setBuddy(m_languages);
  // Built-in names until the texts are applied; the list position is language - 1.
  m_languages->addItem(QStringLiteral("English"));
  m_languages->addItem(QStringLiteral("简体中文"));
  m_languages->setMinimumWidth(kListMinimumWidth);
  EnterAsTab::install(*m_languages);

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->addRow(m_label, m_languages);

  auto* buttons = OkCancelButtonBox(*this, m_ok, m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(m_languages, m_ok);
  setTabOrder(m_ok, m_cancel);

  connect(m_ok, &QPushButton::clicked, this, &FrmSetLanguage::commandOkClick);

  applyTexts();
  SelectByIndex(*m_languages, m_context.language.current - 1);
  m_languages->setFocus();
}

void FrmSetLanguage::applyTexts() {
  setWindowTitle(m_context.text(text::kLanguageCaption));
  m_label->setText(m_context.text(text::kLanguageLabel));
  m_languages->setItemText(0, m_context.text(text::kLanguageEnglish));
  m_languages->setItemText(1, m_context.text(text::kLanguageChinese));
  SetOkCancelCaptions(*this, m_context);
}

void FrmSetLanguage::commandOkClick() {
  const int selected = m_languages->currentIndex() + 1;
  if (selected != m_context.language.current) m_context.setLanguage(selected);
  // Written even when nothing changed, so the setup always holds the language in use.
  if (!WriteCurrentLanguage(m_context.folders.languageSetup(), m_context.language.current)
           .empty()) {
    // The language stays changed for this run; the user learns it will not be
    // kept for the next start.
    m_context.prompter().ask(TextMessage(text::kFileError, Buttons::Ok, Icon::Warning));
  }
  accept();
}

}  // namespace cps::gui
