#include "gui/link/load_frm_link.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSignalBlocker>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <span>
#include <string>

#include "gui/app/app_context.hpp"
#include "gui/app/enter_as_tab.hpp"
#include "gui/app/list_routines.hpp"
#include "gui/link/present_ports.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

namespace {

// The instructions are read in full without scrolling.
constexpr int kInstructionColumns = 64;
constexpr int kInstructionLines = 7;

QString portItem(int number) { return QStringLiteral("COM%1").arg(number); }

}  // namespace

LoadFrmLink::LoadFrmLink(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_check(context.state.link),
      m_ports(new QComboBox),
      m_instructions(new QPlainTextEdit),
      m_portLabel(new QLabel(QStringLiteral("Com Port"))),
      m_deviceLabel(new QLabel(QStringLiteral("Device:"))),
      m_device(new QLabel),
      m_ok(new QPushButton(QStringLiteral("&OK"))),
      m_cancel(new QPushButton(QStringLiteral("&Cancel"))),
      m_port(new QSerialPort(this)),
      m_linkWaitTimer(new QTimer(this)),
      m_endTimer(new QTimer(this)),
      m_reCommTimer(new QTimer(this)) {
  // Built-in captions until the texts of the system's language are applied:
  // this dialog comes before the user has chosen a language.
  setObjectName(QStringLiteral("LoadFrmLink"));
  setWindowTitle(QStringLiteral("Initial Setup"));
  setModal(true);
  m_ports->setObjectName(QStringLiteral("Combo1"));
  m_instructions->setObjectName(QStringLiteral("Text1"));
  m_portLabel->setObjectName(QStringLiteral("Label1"));
  m_deviceLabel->setObjectName(QStringLiteral("DeviceLabel"));
  m_device->setObjectName(QStringLiteral("Device"));
  m_ok->setObjectName(QStringLiteral("Command1"));
  m_cancel->setObjectName(QStringLiteral("Command2"));
  m_port->setObjectName(QStringLiteral("MSComm1"));
  m_linkWaitTimer->setObjectName(QStringLiteral("LinkWaitTimer"));
  m_endTimer->setObjectName(QStringLiteral("EndTimer"));
  m_reCommTimer->setObjectName(QStringLiteral("ReCommTimer"));

  m_instructions->setReadOnly(true);
  const QFontMetrics metrics(m_instructions->font());
  m_instructions->setMinimumSize(
      metrics.averageCharWidth() * kInstructionColumns,
      metrics.lineSpacing() * kInstructionLines + 4 * m_instructions->frameWidth());
  m_portLabel->setBuddy(m_ports);
  EnterAsTab::install(*m_ports);

  // Which cable a port is: its device and the USB adapter the system knows,
  // so that a user with several adapters can tell them apart.
  m_device->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* portRow = new QGridLayout;
  portRow->addWidget(m_portLabel, 0, 0, Qt::AlignRight);
  portRow->addWidget(m_ports, 0, 1);
  portRow->addWidget(m_deviceLabel, 1, 0, Qt::AlignRight);
  portRow->addWidget(m_device, 1, 1);
  portRow->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
  m_ok->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_instructions);
  layout->addLayout(portRow);
  layout->addWidget(buttons);

  connect(m_ports, &QComboBox::currentIndexChanged, this, &LoadFrmLink::Combo1_Click);
  connect(m_ok, &QPushButton::clicked, this, &LoadFrmLink::Command1_Click);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_port, &QSerialPort::readyRead, this, &LoadFrmLink::MSComm1_OnComm);

  m_linkWaitTimer->setSingleShot(true);
  m_linkWaitTimer->setInterval(kLinkWaitMs);
  connect(m_linkWaitTimer, &QTimer::timeout, this, &LoadFrmLink::LinkWaitTimer_Timer);
  m_endTimer->setSingleShot(true);
  m_endTimer->setInterval(kEndDelayMs);
  connect(m_endTimer, &QTimer::timeout, this, &LoadFrmLink::EndTimer_Timer);
  m_reCommTimer->setInterval(kReCommIntervalMs);
  connect(m_reCommTimer, &QTimer::timeout, this, &LoadFrmLink::listPorts);

  applyTexts();
  listPorts();
  // On NT 6.x every port is listed anyway; there is nothing to follow.
  if (!m_context.isNt6) m_reCommTimer->start();
  m_ports->setFocus();
}

LoadFrmLink::~LoadFrmLink() { closePort(); }

void LoadFrmLink::applyTexts() {
  // The first start speaks the system's language; the built-in captions stand
  // until the texts are applied.
  setWindowTitle(m_context.text(text::kLinkCaption));
  m_portLabel->setText(m_context.text(text::kLinkPortLabel));
  m_deviceLabel->setText(m_context.text(text::kPortDeviceLabel));
  m_ok->setText(m_context.text(text::kOkButton));
  m_cancel->setText(m_context.text(text::kCancelButton));
  const QStringList lines{m_context.text(text::kLinkIntro), QString(),
                          m_context.text(text::kLinkStep1), m_context.text(text::kLinkStep2),
                          m_context.text(text::kLinkStep3), m_context.text(text::kLinkStep4)};
  m_instructions->setPlainText(lines.join(QLatin1Char('\n')));
}

void LoadFrmLink::listPorts() {
  QStringList items;
  const PortMap present = m_context.isNt6 ? PortMap{} : PresentPorts(m_context);
  for (const auto& name : ListLinkPorts(present, m_context.isNt6)) {
    items << QString::fromStdString(name);
  }
  {
    const QSignalBlocker quiet(m_ports);
    QStringList shown;
    for (int i = 0; i < m_ports->count(); ++i) shown << m_ports->itemText(i);
    // Filled again only when the ports changed, so that a list the user has
    // open does not close under the pointer every second.
    if (items != shown) {
      m_ports->clear();
      m_ports->addItems(items);
    }
    // Each item tells its device and adapter when pointed at.
    const auto adapters = CurrentAdapterDescriptions();
    for (int i = 0; i < m_ports->count(); ++i) {
      const auto it = present.find(PortNumberOfName(items[i].toStdString()).value_or(0));
      m_ports->setItemData(
          i, it == present.end() ? QString() : DeviceWithAdapter(it->second, adapters),
          Qt::ToolTipRole);
    }
    SelectByText(*m_ports, portItem(m_context.comPort));
  }
  // The port tested is the port shown.
  Combo1_Click();
}

void LoadFrmLink::Combo1_Click() {
  m_context.comPort =
      m_ports->currentIndex() < 0
          ? 1
          : PortNumberOfName(m_ports->currentText().toStdString()).value_or(m_context.comPort);
  m_device->setText(m_ports->currentIndex() < 0
                        ? QString()
                        : m_ports->itemData(m_ports->currentIndex(), Qt::ToolTipRole).toString());
}

void LoadFrmLink::Command1_Click() {
  // A new test replaces one still waiting for its answer.
  m_linkWaitTimer->stop();
  if (m_context.comPort < 1) m_context.comPort = 1;
  if (!initComm2()) return;
  WriteLink2();
}

bool LoadFrmLink::initComm2() {
  closePort();
  const QString device =
      DeviceForPort("COM" + std::to_string(m_context.comPort), PortsFile(m_context));
  const auto failure = device.isEmpty() ? std::optional<PortOpenFacts>(PortOpenFacts{})
                                        : OpenRadioLine(*m_port, device);
  const bool opened = !failure;
  if (failure) {
    // Why, where the system tells: a port the user may not use, or one that
    // another program holds; otherwise the program's own plain text.
    closePort();
    m_context.prompter().ask(ClassifyPortOpenFailure(*failure) == PortOpenProblem::Other
                                 ? FixedMessage(kCannotOpenPortText, Buttons::Ok, Icon::Critical)
                                 : PortOpenMessage(*failure));
  }
  return opened;
}

void LoadFrmLink::WriteLink2() {
  const auto frame = m_check.WriteLink2();
  if (m_port->isOpen()) {
    m_port->clear();
    m_port->write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
  }
  m_linkWaitTimer->start();
}

void LoadFrmLink::MSComm1_OnComm() {
  const QByteArray bytes = m_port->readAll();
  const std::span received(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
  if (!m_check.onBytesReceived(received)) return;
  m_linkWaitTimer->stop();
  m_context.isFirstRun = false;
  m_endTimer->start();
}

void LoadFrmLink::LinkWaitTimer_Timer() {
  if (m_check.onLinkWait() == LinkCheck::AfterWait::SendAgain) {
    WriteLink2();
    return;
  }
  // The port is not needed while the user reads the message and picks another.
  closePort();
  m_context.prompter().ask(FixedMessage(kCommunicationErrorText));
}

void LoadFrmLink::EndTimer_Timer() {
  m_reCommTimer->stop();
  accept();
}

void LoadFrmLink::done(int result) {
  m_linkWaitTimer->stop();
  m_endTimer->stop();
  m_reCommTimer->stop();
  closePort();
  QDialog::done(result);
}

void LoadFrmLink::closePort() {
  if (m_port->isOpen()) m_port->close();
}

}  // namespace cps::gui
