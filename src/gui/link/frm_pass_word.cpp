#include "gui/link/frm_pass_word.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "core/link/link_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"

namespace cps::gui {

namespace {

// Room for four masked characters and the caret, and for the caption in the title bar.
constexpr int kFieldMinimumWidth = 140;

}  // namespace

FrmPassWord::FrmPassWord(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_label(new QLabel(QStringLiteral("密码"))),
      m_password(new QLineEdit),
      m_ok(new QPushButton(QStringLiteral("确定"))),
      m_cancel(new QPushButton(QStringLiteral("取消"))) {
  setObjectName(QStringLiteral("FrmPassWord"));
  setWindowTitle(QStringLiteral("编程密码"));
  setModal(true);

  m_label->setObjectName(QStringLiteral("Label1"));
  m_password->setObjectName(QStringLiteral("Text1"));
  m_label->setBuddy(m_password);

  m_password->setMaxLength(static_cast<int>(kPasswordLength));
  m_password->setEchoMode(QLineEdit::Password);
  // Masked with "*" on every platform, as dealers know it from the radio's own menus.
  m_password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  // It is compared byte for byte with what the radio holds: only the characters a
  // radio password can be made of (printable ASCII) can ever match, so no other
  // character is taken, typed or pasted.
  m_password->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[\\x20-\\x7E]{0,%1}").arg(kPasswordLength)), m_password));
  m_password->setMinimumWidth(kFieldMinimumWidth);

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->addRow(m_label, m_password);

  auto* buttons = OkCancelButtonBox(*this, m_ok, m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_ok, &QPushButton::clicked, this, &FrmPassWord::commandOkClick);

  applyTexts();
  m_password->setText(QString::fromStdString(context.state.link.enteredPassword));
  // Typing replaces the password offered.
  m_password->selectAll();
  m_password->setFocus();
}

std::optional<std::string> FrmPassWord::Ask(AppContext& context, QWidget* parent) {
  FrmPassWord dialog(context, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return context.state.link.enteredPassword;
}

void FrmPassWord::applyTexts() {
  setWindowTitle(m_context.text(text::kPassWordCaption));
  m_label->setText(m_context.text(text::kPassWordLabel));
  SetOkCancelCaptions(*this, m_context);
}

void FrmPassWord::commandOkClick() {
  m_context.state.link.enteredPassword = PasswordOfEntry(m_password->text().toStdString());
  accept();
}

}  // namespace cps::gui
