#include "gui/channels/frm_habits.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/settings_files.hpp"
#include "core/app/text_ids.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"

namespace cps::gui {

namespace {

struct HabitBox {
  bool HabitRecord::*habit;
  int captionTextId;
  const char* builtIn;
  bool gapAfter;
};

// In the habit file's order.
constexpr std::array<HabitBox, 5> kBoxes{{
    {&HabitRecord::pasteNoPrompt, text::kHabitPasteNoPrompt, "粘帖时不要提示操作方式", false},
    {&HabitRecord::pasteInserts, text::kHabitPasteInserts, "粘帖时将新数据插入到信道", true},
    {&HabitRecord::deleteNoPrompt, text::kHabitDeleteNoPrompt, "删除时不要提示操作方式", false},
    {&HabitRecord::deleteCloses, text::kHabitDeleteCloses, "删除时将信道一并删除", true},
    {&HabitRecord::offsetMode, text::kHabitOffsetMode, "使用偏频", false},
}};

constexpr int kGroupGap = 12;

}  // namespace

FrmHabits::FrmHabits(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
  setObjectName(QStringLiteral("FrmHabits"));
  setModal(true);
  setWindowTitle(context.text(text::kHabitsCaption));
  auto* layout = new QVBoxLayout(this);
  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    const QString caption = context.text(kBoxes[i].captionTextId);
    m_boxes[i] = new QCheckBox(caption.isEmpty() ? QString::fromUtf8(kBoxes[i].builtIn) : caption);
    m_boxes[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
    m_boxes[i]->setChecked(context.state.habits.*(kBoxes[i].habit));
    layout->addWidget(m_boxes[i]);
    if (kBoxes[i].gapAfter) layout->addSpacing(kGroupGap);
  }
  // OK and Cancel, as the dialog's buttons have always meant; the texts of the
  // question's Yes and No would read wrongly here.
  auto* ok = new QPushButton(QStringLiteral("&O K"));
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
  layout->addWidget(OkCancelButtonBox(*this, ok, cancel));
  SetOkCancelCaptions(*this, context);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(ok, &QPushButton::clicked, this, [this] {
    storeHabits();
    accept();
  });
}

void FrmHabits::storeHabits() {
  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    m_context.state.habits.*(kBoxes[i].habit) = m_boxes[i]->isChecked();
  }
  WriteHabits(m_context.folders.habits(), m_context.state.habits);
}

}  // namespace cps::gui
