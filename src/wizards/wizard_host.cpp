#include "wizards/wizard_host.h"

namespace qz {

bool offerToSaveOpenTable(WizardHost& host, const QWidget& chart) {
    if (!chart.isVisible()) return true;
    const PromptAnswer answer =
        host.prompts.message("Save timing table before closing file?", PromptIcon::Exclamation,
                             PromptButtons::YesNoCancel, "Close File");
    if (answer == PromptAnswer::Cancel) return false;
    return answer == PromptAnswer::No || host.views.saveTable();
}

void keepTitleWhole(QWidget& wizard) {
    constexpr int kFrameButtonsAndMargins = 140;
    wizard.setMinimumWidth(wizard.fontMetrics().horizontalAdvance(wizard.windowTitle()) +
                           kFrameButtonsAndMargins);
}

}  // namespace qz
