#include "gui/app/message_box_prompter.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "core/app/file_commands.hpp"
#include "gui/app/app_context.hpp"
#include "gui/channels/frm_msg_confirm.hpp"

namespace cps::gui {

namespace {

QMessageBox::StandardButtons buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

Answer answerOf(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Retry:
      return Answer::Retry;
    default:
      return Answer::Cancel;
  }
}

}  // namespace

QWidget* MessageBoxPrompter::parentWindow() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

Answer MessageBoxPrompter::ask(const Message& message) {
  const QString body = QString::fromStdString(
      MessageBody(message, message.textId != 0 ? m_context.langText(message.textId) : ""));
  const QString title =
      message.titleTextId != 0 ? m_context.text(message.titleTextId) : m_context.applicationTitle();
  QMessageBox box(iconOf(message.icon), title, body, buttonsOf(message.buttons), parentWindow());
  // Closing the box with Escape or its close button is the cautious answer.
  if (message.buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
  return answerOf(box.exec());
}

Answer MessageBoxPrompter::confirmWrite(bool& verify) {
  QMessageBox box(QMessageBox::Question, m_context.applicationTitle(),
                  m_context.text(text::kConfirmWrite), QMessageBox::Ok | QMessageBox::Cancel,
                  parentWindow());
  // The box belongs to the message box, which outlives the answer read from it.
  auto* check = new QCheckBox(m_context.text(text::kVerifyAfterWriteBox));
  check->setObjectName(QStringLiteral("CheckVerify"));
  check->setChecked(verify);
  box.setCheckBox(check);
  const Answer answer = answerOf(box.exec());
  verify = check->isChecked();
  return answer;
}

std::optional<std::string> MessageBoxPrompter::chooseFile(const FileDialogRequest& request) {
  const QString filter = m_context.text(request.filterTextId) + QStringLiteral(" (") +
                         QString::fromStdString(request.pattern) + QStringLiteral(")");
  QString start = m_context.lastFileFolder;
  if (request.kind == FileDialogRequest::Kind::Save && !request.initialPath.empty()) {
    const QFileInfo initial(QString::fromStdString(request.initialPath));
    start = initial.isAbsolute() ? initial.filePath()
                                 : QDir(m_context.lastFileFolder).filePath(initial.fileName());
  }
  const QString chosen =
      request.kind == FileDialogRequest::Kind::Open
          ? QFileDialog::getOpenFileName(parentWindow(), QString(), start, filter)
          : QFileDialog::getSaveFileName(parentWindow(), QString(), start, filter);
  if (chosen.isEmpty()) return std::nullopt;
  m_context.lastFileFolder = QFileInfo(chosen).absolutePath();
  return QDir::toNativeSeparators(chosen).toStdString();
}

ConfirmAnswer MessageBoxPrompter::confirmChannelCommand(ConfirmMode mode) {
  FrmMsgConfirm dialog(m_context, mode, parentWindow());
  dialog.exec();
  return dialog.answer();
}

std::optional<std::string> MessageBoxPrompter::askPassword() {
  if (!m_passwordDialog) return std::nullopt;
  return m_passwordDialog();
}

}  // namespace cps::gui
