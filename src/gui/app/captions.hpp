// The captions every dialog shares: the standard buttons found by their names.
#pragma once

#include "core/app/text_ids.hpp"

class QDialog;
class QHBoxLayout;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace cps::gui {

class AppContext;

// The window's buttons named CommandOK and CommandCancel get texts 9017 and 9018.
void SetOkCancelCaptions(QWidget& window, AppContext& context);
// The window's buttons named CommandClose and CommandHelp get texts 9023 and
// 9025; CommandHelp is shown only when help is offered.
void SetCloseHelpCaptions(QWidget& window, AppContext& context);

// Close and Help at the right of a row, named CommandClose and CommandHelp,
// with their texts; Close closes the child window, Help shows only when help
// is offered.
QHBoxLayout* CloseHelpRow(QWidget& window, AppContext& context);

// Names a dialog's OK and Cancel buttons (CommandOK, CommandCancel), puts them
// in a button box with OK as the default button, and lets Cancel reject the dialog.
QDialogButtonBox* OkCancelButtonBox(QDialog& dialog, QPushButton* ok, QPushButton* cancel);

}  // namespace cps::gui
