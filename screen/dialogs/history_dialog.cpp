#include "screen/dialogs/history_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace q93 {
namespace {

QString changeText(const history::VersionChange& change) {
    const FieldDifference& d = change.difference;
    const QString file = QString::fromStdString(d.file);
    switch (change.kind) {
        case history::FileChange::Added:
            return HistoryDialog::tr("%1: first stored").arg(file);
        case history::FileChange::Removed:
            return HistoryDialog::tr("%1: removed").arg(file);
        case history::FileChange::Field:
            break;
    }
    QString text = QStringLiteral("%1: %2 %3 \u2192 %4")
                       .arg(file, QString::fromStdString(d.field), QString::fromStdString(d.stored),
                            QString::fromStdString(d.encoder));
    return d.unit.empty() ? text : text + " " + QString::fromStdString(d.unit);
}

}  // namespace

HistoryDialog::HistoryDialog(const QString& encoderName, const std::vector<Version>& versions,
                             QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
    setWindowTitle(tr("History of %1").arg(encoderName));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        versions.empty() ? tr("No backup has recorded a version of %1 yet.").arg(encoderName)
                         : tr("Versions, newest first: %1").arg(versions.size()),
        this));
    list_->setHeaderLabels({tr("Date"), tr("Version"), tr("Author")});
    for (const Version& version : versions) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(versionTimeText(version)));
        item->setText(1, QString::fromStdString(version.shortId));
        item->setText(2, QString::fromStdString(version.author));
        for (const history::VersionChange& change : version.changes)
            (new QTreeWidgetItem(item))->setText(0, changeText(change));
    }
    list_->expandAll();
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        for (int j = 0; j < list_->topLevelItem(i)->childCount(); ++j)
            list_->topLevelItem(i)->child(j)->setFirstColumnSpanned(true);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(620, 380);
}

}  // namespace q93
