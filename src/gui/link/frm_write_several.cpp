#include "gui/link/frm_write_several.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/text_ids.hpp"
#include "core/link/engine.hpp"
#include "gui/app/app_context.hpp"
#include "gui/link/present_ports.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

namespace {

constexpr int kBoxesPerRow = 4;
// Between two handshakes that look for the next radio of a series.
constexpr int kPollIntervalMs = 500;

}  // namespace

FrmWriteSeveral::FrmWriteSeveral(AppContext& context, const RunState& packed, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_packed(packed),
      m_verify(new QCheckBox),
      m_series(new QCheckBox),
      m_autoNext(new QCheckBox),
      m_portsLabel(new QLabel),
      m_count(new QLabel),
      m_rowsLayout(new QGridLayout),
      m_start(new QPushButton),
      m_next(new QPushButton),
      m_cancel(new QPushButton),
      m_close(new QPushButton) {
  setObjectName(QStringLiteral("FrmWriteSeveral"));
  setModal(true);
  m_verify->setObjectName(QStringLiteral("VerifyCheck"));
  m_series->setObjectName(QStringLiteral("SeriesCheck"));
  m_autoNext->setObjectName(QStringLiteral("AutoNextCheck"));
  m_count->setObjectName(QStringLiteral("CountLabel"));
  m_start->setObjectName(QStringLiteral("StartButton"));
  m_next->setObjectName(QStringLiteral("NextButton"));
  m_cancel->setObjectName(QStringLiteral("CancelButton"));
  m_close->setObjectName(QStringLiteral("CloseButton"));

  // The ports present now, the current one ticked.
  auto* ports = new QGridLayout;
  int shown = 0;
  for (const auto& [number, device] : PresentPorts(context)) {
    auto* box = new QCheckBox(QStringLiteral("COM%1").arg(number));
    box->setObjectName(QStringLiteral("PortCheck(%1)").arg(number));
    box->setToolTip(QString::fromStdString(device));
    box->setChecked(number == context.comPort);
    ports->addWidget(box, shown / kBoxesPerRow, shown % kBoxesPerRow);
    m_portBoxes.emplace_back(number, box);
    ++shown;
  }
  m_verify->setChecked(context.state.link.verifyAfterWrite);
  m_autoNext->setEnabled(false);
  connect(m_series, &QCheckBox::toggled, m_autoNext, &QCheckBox::setEnabled);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(m_start, QDialogButtonBox::ActionRole);
  buttons->addButton(m_next, QDialogButtonBox::ActionRole);
  buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
  buttons->addButton(m_close, QDialogButtonBox::RejectRole);
  connect(m_start, &QPushButton::clicked, this, &FrmWriteSeveral::start);
  connect(m_next, &QPushButton::clicked, this, &FrmWriteSeveral::nextInSeries);
  connect(m_cancel, &QPushButton::clicked, this, &FrmWriteSeveral::cancel);
  connect(m_close, &QPushButton::clicked, this, &FrmWriteSeveral::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_portsLabel);
  layout->addLayout(ports);
  layout->addWidget(m_verify);
  layout->addWidget(m_series);
  layout->addWidget(m_autoNext);
  layout->addLayout(m_rowsLayout);
  layout->addWidget(m_count);
  layout->addWidget(buttons);

  m_pollTimer.setSingleShot(true);
  m_pollTimer.setInterval(kPollIntervalMs);
  connect(&m_pollTimer, &QTimer::timeout, this, &FrmWriteSeveral::pollForNextRadio);

  applyTexts();
  showButtons();
}

FrmWriteSeveral::~FrmWriteSeveral() {
  m_pollTimer.stop();
  // Each session lets its radio go (END, then the port closes) as it is dropped.
  m_sessions.clear();
}

FleetTextOf FrmWriteSeveral::textOf() {
  return [this](int id) { return m_context.text(id).toStdString(); };
}

void FrmWriteSeveral::applyTexts() {
  setWindowTitle(m_context.text(text::kFleetCaption));
  m_portsLabel->setText(m_context.text(text::kFleetPorts));
  m_verify->setText(m_context.text(text::kVerifyAfterWriteBox));
  m_series->setText(m_context.text(text::kFleetSeries));
  m_autoNext->setText(m_context.text(text::kFleetAutoNext));
  m_start->setText(m_context.text(text::kFleetStart));
  m_next->setText(m_context.text(text::kFleetNext));
  m_cancel->setText(m_context.text(text::kCancelButton));
  m_close->setText(m_context.text(text::kFleetClose));
}

bool FrmWriteSeveral::running() const {
  return std::any_of(m_sessions.begin(), m_sessions.end(),
                     [](const auto& s) { return !s->finished(); });
}

QString FrmWriteSeveral::deviceOf(int portNumber) const {
  return DeviceForPort("COM" + std::to_string(portNumber), m_context.folders.portMap());
}

void FrmWriteSeveral::start() {
  std::vector<int> ticked;
  for (const auto& [number, box] : m_portBoxes) {
    if (box->isChecked()) ticked.push_back(number);
  }
  if (ticked.empty()) {
    m_context.prompter().ask(TextMessage(text::kFleetNoPortTicked, Buttons::Ok, Icon::Warning));
    return;
  }
  if (!m_series->isChecked() && !portsAreDistinct(ticked)) return;
  // The rows of an earlier round go; the backup is kept once a round.
  m_sessions.clear();
  m_radios.clear();
  for (const auto& row : m_rows) {
    delete row.port;
    delete row.bar;
    delete row.state;
  }
  m_rows.clear();
  m_backup = std::make_unique<FleetBackup>(
      m_context.backupFolder, m_packed.link.image, [this](const std::string& error) {
        auto question = TextMessage(text::kBackupFailed, Buttons::OkCancel, Icon::Warning);
        question.fixedText = error + "\n";
        return m_context.prompter().ask(question) == Answer::Ok;
      });
  m_seriesPort = m_series->isChecked() ? ticked.front() : 0;
  m_watch = NextRadioWatch{};
  if (m_seriesPort != 0) {
    startOne(m_seriesPort);
  } else {
    for (const int number : ticked) startOne(number);
    for (std::size_t i = 0; i < m_sessions.size(); ++i) m_sessions[i]->start();
  }
  showButtons();
}

bool FrmWriteSeveral::portsAreDistinct(const std::vector<int>& ticked) {
  // Two ports of the port map that name one device (a link such as
  // /dev/serial/by-id/... beside the device itself) would be two sessions on
  // one radio, each breaking the other's write.
  std::vector<QString> devices;
  for (const int number : ticked) {
    const QString device = RealDevice(deviceOf(number));
    const auto seen = std::find(devices.begin(), devices.end(), device);
    if (!device.isEmpty() && seen != devices.end()) {
      const int first = ticked[static_cast<std::size_t>(seen - devices.begin())];
      Message same = TextMessage(text::kFleetSameDevice, Buttons::Ok, Icon::Warning);
      same.arguments = {"COM" + std::to_string(first), "COM" + std::to_string(number),
                        device.toStdString()};
      m_context.prompter().ask(same);
      return false;
    }
    devices.push_back(device);
  }
  return true;
}

void FrmWriteSeveral::startOne(int portNumber) {
  const std::size_t index = m_radios.size();
  QString name = QStringLiteral("COM%1").arg(portNumber);
  if (m_seriesPort != 0) {
    Message numbered = TextMessage(text::kFleetRadioNumber);
    numbered.arguments = {std::to_string(index + 1)};
    name = QString::fromStdString(MessageBody(numbered, textOf()(numbered.textId))) +
           QStringLiteral(" ") + name;
  }
  FleetRadio radio;
  radio.port = name.toStdString();
  m_radios.push_back(radio);

  Row row{new QLabel(name), new QProgressBar, new QLabel};
  row.port->setObjectName(QStringLiteral("PortLabel(%1)").arg(index));
  row.bar->setObjectName(QStringLiteral("ProgressBar(%1)").arg(index));
  row.state->setObjectName(QStringLiteral("StateLabel(%1)").arg(index));
  row.bar->setRange(0, kWholeRadioBlocks);
  row.bar->setValue(0);
  const int line = static_cast<int>(index);
  m_rowsLayout->addWidget(row.port, line, 0);
  m_rowsLayout->addWidget(row.bar, line, 1);
  m_rowsLayout->addWidget(row.state, line, 2);
  m_rows.push_back(row);

  FleetSessionSettings settings{m_context.versions,
                                textOf(),
                                m_context.folders.base,
                                m_context.executableName,
                                {},
                                m_verify->isChecked(),
                                [this] { return (*m_backup)(); }};
  m_sessions.push_back(std::make_unique<FleetSession>(
      m_packed, name, deviceOf(portNumber), settings,
      [this, index](const FleetRadio& changed) { sessionChanged(index, changed); }));
  sessionChanged(index, m_radios[index]);
  if (m_seriesPort != 0) m_sessions.back()->start();
}

void FrmWriteSeveral::sessionChanged(std::size_t index, const FleetRadio& radio) {
  m_radios[index] = radio;
  const auto& row = m_rows[index];
  row.bar->setValue(radio.blocksDone);
  std::string state = m_context.text(FleetStageTextId(radio.stage)).toStdString();
  if (radio.stage == FleetStage::Failed && !radio.reason.empty()) state += ": " + radio.reason;
  if (!radio.identity.empty()) state = radio.identity + "  " + state;
  row.state->setText(QString::fromStdString(state));
  if (FleetStageFinal(radio.stage)) {
    // The session ends its own transfer first; the dialog moves on after it.
    QTimer::singleShot(0, this, &FrmWriteSeveral::afterSessions);
  }
}

void FrmWriteSeveral::afterSessions() {
  if (running()) return;
  if (m_seriesPort != 0) {
    m_watch.radioHandled();
    if (m_autoNext->isChecked()) m_pollTimer.start();
    showCount();
  }
  showButtons();
}

void FrmWriteSeveral::nextInSeries() {
  if (m_seriesPort == 0 || running()) return;
  m_pollTimer.stop();
  startOne(m_seriesPort);
  showButtons();
}

void FrmWriteSeveral::pollForNextRadio() {
  if (m_seriesPort == 0 || running() || !m_autoNext->isChecked()) return;
  if (m_watch.pollEnded(RadioAnswersHandshake(deviceOf(m_seriesPort)))) {
    nextInSeries();
    return;
  }
  m_pollTimer.start();
}

void FrmWriteSeveral::cancel() {
  m_pollTimer.stop();
  for (auto& session : m_sessions) session->cancel();
  // A series that is stopped takes no further radio until Start again.
  if (m_seriesPort != 0) showCount();
  m_seriesPort = 0;
  showButtons();
}

bool FrmWriteSeveral::stop() {
  if (!running() && !m_pollTimer.isActive()) return false;
  cancel();
  return true;
}

void FrmWriteSeveral::reject() {
  if (running() || m_pollTimer.isActive()) {
    cancel();
    return;
  }
  QDialog::reject();
}

void FrmWriteSeveral::showCount() {
  const auto written = std::count_if(m_radios.begin(), m_radios.end(), [this](const auto& r) {
    return FleetRadioDone(r, m_verify->isChecked());
  });
  const auto failed = std::count_if(m_radios.begin(), m_radios.end(),
                                    [](const auto& r) { return r.stage == FleetStage::Failed; });
  Message counted = TextMessage(text::kFleetCounted);
  counted.arguments = {std::to_string(written), std::to_string(failed)};
  m_count->setText(QString::fromStdString(MessageBody(counted, textOf()(counted.textId))));
}

void FrmWriteSeveral::showButtons() {
  const bool busy = running();
  const bool seriesWaiting = m_seriesPort != 0 && !busy;
  for (const auto& [number, box] : m_portBoxes) box->setEnabled(!busy && m_seriesPort == 0);
  m_verify->setEnabled(!busy && m_seriesPort == 0);
  m_series->setEnabled(!busy && m_seriesPort == 0);
  m_autoNext->setEnabled(!busy && m_series->isChecked());
  m_start->setEnabled(!busy && m_seriesPort == 0);
  m_next->setVisible(m_seriesPort != 0);
  m_next->setEnabled(seriesWaiting);
  m_cancel->setEnabled(busy || m_seriesPort != 0);
  m_close->setEnabled(!busy);
  // Enter starts what comes next: the first write, or the next radio of a series.
  QPushButton* enter = seriesWaiting ? m_next : (busy ? m_cancel : m_start);
  enter->setDefault(true);
  if (enter->isEnabled()) enter->setFocus();
}

}  // namespace cps::gui
