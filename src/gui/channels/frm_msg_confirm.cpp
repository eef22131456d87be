#include "gui/channels/frm_msg_confirm.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

constexpr int kQuestionWidth = 420;

QString textOr(AppContext& context, int id, const char* builtIn) {
  const QString text = context.text(id);
  return text.isEmpty() ? QString::fromUtf8(builtIn) : text;
}

}  // namespace

FrmMsgConfirm::FrmMsgConfirm(AppContext& context, ConfirmMode mode, QWidget* parent)
    : QDialog(parent),
      m_dontAsk(new QCheckBox(textOr(context, text::kConfirmDontAsk, "以后不再提示此信息"))) {
  setObjectName(QStringLiteral("FrmMsgConfirm"));
  setModal(true);
  setWindowTitle(textOr(context, text::kConfirmCaption, "提示"));
  auto* question = new QLabel(
      mode == ConfirmMode::Paste
          ? textOr(context, text::kConfirmPaste, "是否要插入到信道,不覆盖原信道内容?")
          : textOr(context, text::kConfirmDelete, "是否将信道一并删除,后面的信道依次上移?"));
  question->setObjectName(QStringLiteral("Label1"));
  question->setWordWrap(true);
  question->setMinimumWidth(kQuestionWidth);
  m_dontAsk->setObjectName(QStringLiteral("Check1"));
  auto* yes = new QPushButton(textOr(context, text::kConfirmYes, "&Yes"));
  auto* no = new QPushButton(textOr(context, text::kConfirmNo, "&No"));
  yes->setObjectName(QStringLiteral("CommandYes"));
  no->setObjectName(QStringLiteral("CommandNo"));
  yes->setDefault(true);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(yes, QDialogButtonBox::YesRole);
  buttons->addButton(no, QDialogButtonBox::NoRole);
  connect(yes, &QPushButton::clicked, this, [this] {
    m_result = ConfirmResult::Yes;
    accept();
  });
  connect(no, &QPushButton::clicked, this, [this] {
    m_result = ConfirmResult::No;
    accept();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(m_dontAsk);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

ConfirmAnswer FrmMsgConfirm::answer() const { return {m_result, m_dontAsk->isChecked()}; }

}  // namespace cps::gui
