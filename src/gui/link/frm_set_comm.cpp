#include "gui/link/frm_set_comm.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "core/app/ini_file.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/link/present_ports.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

namespace {

constexpr int kButtonsPerRow = 4;

}  // namespace

FrmSetComm::FrmSetComm(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_frame(new QGroupBox(QStringLiteral("通信端口"))),
      m_deviceLabel(new QLabel(QStringLiteral("设备："))),
      m_device(new QLabel),
      m_ok(new QPushButton(QStringLiteral("确定(&O)"))),
      m_cancel(new QPushButton(QStringLiteral("取消(&C)"))),
      m_reCommTimer(new QTimer(this)) {
  setObjectName(QStringLiteral("FrmSetComm"));
  setModal(true);
  m_frame->setObjectName(QStringLiteral("Frame1"));
  m_reCommTimer->setObjectName(QStringLiteral("ReCommTimer"));

  // Buttons that share the frame are exclusive: one port at a time.
  auto* grid = new QGridLayout(m_frame);
  for (int i = 0; i < kPortButtons; ++i) {
    auto* button = new QRadioButton(QStringLiteral("通信口%1").arg(i + 1));
    button->setObjectName(QStringLiteral("Option1(%1)").arg(i));
    grid->addWidget(button, i / kButtonsPerRow, i % kButtonsPerRow);
    m_ports[static_cast<std::size_t>(i)] = button;
    connect(button, &QRadioButton::toggled, this, &FrmSetComm::showChosenDevice);
  }
  m_deviceLabel->setObjectName(QStringLiteral("DeviceLabel"));
  m_device->setObjectName(QStringLiteral("Device"));
  m_device->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* deviceRow = new QHBoxLayout;
  deviceRow->addWidget(m_deviceLabel);
  deviceRow->addWidget(m_device, 1);

  auto* buttons = OkCancelButtonBox(*this, m_ok, m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_frame);
  layout->addLayout(deviceRow);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_ok, &QPushButton::clicked, this, &FrmSetComm::CommandOK_Click);
  m_reCommTimer->setInterval(kReCommIntervalMs);
  connect(m_reCommTimer, &QTimer::timeout, this, &FrmSetComm::showAvailability);

  applyTexts();
  showAvailability();
  // A port above 16 (chosen in the first-run dialog) has no button: none is
  // chosen then, and OK keeps that port.
  if (m_context.comPort >= 1 && m_context.comPort <= kPortButtons) {
    m_ports[static_cast<std::size_t>(m_context.comPort - 1)]->setChecked(true);
  }
  m_reCommTimer->start();
}

void FrmSetComm::applyTexts() {
  setWindowTitle(m_context.text(text::kSetCommCaption));
  m_frame->setTitle(m_context.text(text::kSetCommFrame));
  m_deviceLabel->setText(m_context.text(text::kPortDeviceLabel));
  const QString port = m_context.text(text::kSetCommPort);
  for (int i = 0; i < kPortButtons; ++i) {
    m_ports[static_cast<std::size_t>(i)]->setText(port + QString::number(i + 1));
  }
  SetOkCancelCaptions(*this, m_context);
}

void FrmSetComm::showAvailability() {
  // Disabling a button does not clear its check, so the port chosen stays
  // chosen while its adapter is unplugged, and OK still keeps it.
  const PortMap present = m_context.isNt6 ? PortMap{} : PresentPorts(m_context);
  const auto adapters = present.empty() ? AdapterDescriptions{} : CurrentAdapterDescriptions();
  for (int i = 0; i < kPortButtons; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const auto it = present.find(i + 1);
    m_devices[index] = it == present.end() ? QString() : DeviceWithAdapter(it->second, adapters);
    m_ports[index]->setEnabled(m_context.isNt6 || it != present.end());
    m_ports[index]->setToolTip(m_devices[index]);
  }
  showChosenDevice();
}

void FrmSetComm::showChosenDevice() {
  QString shown;
  for (std::size_t i = 0; i < m_ports.size(); ++i) {
    if (m_ports[i] != nullptr && m_ports[i]->isChecked()) shown = m_devices[i];
  }
  m_device->setText(shown);
}

void FrmSetComm::CommandOK_Click() {
  for (int i = 0; i < kPortButtons; ++i) {
    if (!m_ports[static_cast<std::size_t>(i)]->isChecked()) continue;
    m_context.comPort = i + 1;
    const std::string error = WriteProfileString(m_context.folders.languageSetup(), "language",
                                                 "comPort", std::to_string(m_context.comPort));
    // The run goes on with the port chosen; the user learns that the next start
    // will not know it.
    if (!error.empty()) {
      m_context.prompter().ask(TextMessage(text::kFileError, Buttons::Ok, Icon::Critical));
    }
    break;
  }
  accept();
}

void FrmSetComm::done(int result) {
  m_reCommTimer->stop();
  QDialog::done(result);
}

}  // namespace cps::gui
