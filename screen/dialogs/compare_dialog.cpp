#include "screen/dialogs/compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace q93 {

CompareDialog::CompareDialog(const QString& nodeName,
                             const std::vector<FieldDifference>& differences, QWidget* parent)
    : QDialog(parent), table_(new QTreeWidget(this)) {
    setWindowTitle(tr("Compare with encoder"));
    auto* layout = new QVBoxLayout(this);
    const QString heading =
        differences.empty()
            ? tr("%1: the encoder holds what is stored.").arg(nodeName)
            : tr("%1: fields that differ: %2").arg(nodeName).arg(differences.size());
    layout->addWidget(new QLabel(heading, this));
    table_->setRootIsDecorated(false);
    table_->setHeaderLabels({tr("File"), tr("Field"), tr("Stored"), tr("Encoder"), tr("Unit")});
    for (const FieldDifference& d : differences) {
        auto* row = new QTreeWidgetItem(table_);
        row->setText(0, QString::fromStdString(d.file));
        row->setText(1, QString::fromStdString(d.field));
        row->setText(2, QString::fromStdString(d.stored));
        row->setText(3, QString::fromStdString(d.encoder));
        row->setText(4, QString::fromStdString(d.unit));
        row->setTextAlignment(2, Qt::AlignRight);
        row->setTextAlignment(3, Qt::AlignRight);
    }
    table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setVisible(!differences.empty());
    layout->addWidget(table_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, differences.empty() ? 120 : 320);
}

}  // namespace q93
