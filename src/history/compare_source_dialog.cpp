#include "history/compare_source_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

CompareSourceDialog::CompareSourceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCompareSource"));
    setWindowTitle(QStringLiteral("Compare With"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    const struct {
        const char* name;
        const char* caption;
        Source source;
    } choices[] = {{"cmdDataFile", "&Data File...", Source::DataFile},
                   {"cmdRestorePoint", "&Restore Point...", Source::RestorePoint},
                   {"cmdModule", "The &Module", Source::Module}};
    for (const auto& choice : choices) {
        auto* button = new QPushButton(QString::fromUtf8(choice.caption), this);
        button->setObjectName(QString::fromUtf8(choice.name));
        buttons->addButton(button, QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, [this, source = choice.source] {
            source_ = source;
            accept();
        });
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Compare the buffer with:"), this));
    layout->addWidget(buttons);
}

}  // namespace qz
