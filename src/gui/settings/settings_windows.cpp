#include "gui/settings/settings_windows.hpp"

#include <QTabWidget>

#include "core/app/text_ids.hpp"
#include "gui/settings/settings_binder.hpp"

namespace cps::gui {

FrmDTMF::FrmDTMF(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "DTMF", text::kDtmfCaption, parent) {
  QTabWidget* tabs = m_binder->buildTabs(DtmfFields(), DtmfPages(), QStringLiteral("SSTab1"));
  tabs->setCurrentIndex(0);
  finish(tabs, DtmfFields());
}

FrmScan::FrmScan(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "扫描信息", text::kScanCaption, parent) {
  finish(m_binder->buildColumns(ScanFields(), QStringLiteral("Frame1")), ScanFields());
}

FrmAlert::FrmAlert(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "紧急报警信息", text::kAlertCaption, parent) {
  finish(m_binder->buildColumns(AlertFields(), QStringLiteral("Frame1")), AlertFields());
}

FrmKey::FrmKey(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "键设定", text::kKeyCaption, parent) {
  finish(m_binder->buildFrames(KeyFields(), KeyFrames()), KeyFields());
}

FrmEmbMsg::FrmEmbMsg(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : SettingsWindow(context, observer, "嵌入信息", text::kMessageCaption, parent) {
  finish(m_binder->buildColumns(MessageFields(), QStringLiteral("Frame1")), MessageFields());
}

}  // namespace cps::gui
