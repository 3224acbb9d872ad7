#include "screen/dialogs/send_to_encoders_dialog.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "screen/dialogs/gui_seam.h"
#include "screen/dialogs/send_anyway_box.h"
#include "screen/dialogs/set_worker.h"
#include "screen/pages/range_listing.h"

namespace q93 {
namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("q93::SendToEncoders", text);
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

std::span<const FieldRange> blockRanges(int preset) {
    return preset == 0 ? deviceRanges() : presetRanges();
}

QTreeWidgetItem* checkableRow(QTreeWidgetItem* parent, const QStringList& texts) {
    auto* row = new QTreeWidgetItem(parent, texts);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, Qt::Unchecked);
    return row;
}

// The unit as the pages write it.
QString unitText(const std::string& unit) {
    return unit.empty()        ? QString()
           : unit == "degrees" ? QStringLiteral(" \u00b0")
                               : " " + fromStd(unit);
}

QString changeLine(const FieldChange& change) {
    const FieldRange* range = nullptr;
    for (int preset : {0, 1})
        for (const FieldRange& candidate : blockRanges(preset))
            if (change.field == candidate.name)
                range = &candidate;
    const QString unit = unitText(change.unit);
    return QStringLiteral("%1: %2 \u2192 %3%4")
        .arg(range != nullptr ? fieldLabel(*range) : fromStd(change.field), fromStd(change.from),
             fromStd(change.to), unit);
}

QString driftLine(const FieldChange& drift) {
    return translated("%1 was changed outside this tool: stored %2, the encoder holds %3")
        .arg(fromStd(drift.field), fromStd(drift.from), fromStd(drift.to));
}

QString outcomeText(const SetOutcome& outcome) {
    const QString why = fromStd(outcome.failure.message);
    switch (outcome.status) {
        case SetStatus::Planned:
            return translated("would change");
        case SetStatus::Unchanged:
            return translated("holds these values already");
        case SetStatus::Changed:
            return translated("changed, read back and stored");
        case SetStatus::Failed:
            return translated("failed: %1").arg(why);
        case SetStatus::RolledBack:
            return translated("rolled back to its old values: %1").arg(why);
        case SetStatus::RollBackFailed:
            return translated("ROLL-BACK FAILED, check this encoder: %1").arg(why);
        case SetStatus::NotAttempted:
            break;
    }
    return translated("not attempted");
}

}  // namespace

SendToEncodersDialog::SendToEncodersDialog(const SendSource& source,
                                           std::vector<SendTarget> targets, QWidget* parent)
    : QDialog(parent), source_(source), targets_(std::move(targets)) {
    setWindowTitle(translated("Send to other encoders"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(translated("Values of %1 as stored. Check the fields to send and the "
                                        "encoders to send them to, and look at the plan: each "
                                        "encoder is read first, and nothing is sent before you "
                                        "confirm.")
                                 .arg(source_.name));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* fieldBox = new QGroupBox(translated("Fields"));
    fields_ = new QTreeWidget;
    (new QVBoxLayout(fieldBox))->addWidget(fields_);
    auto* encoderBox = new QGroupBox(translated("Encoders"));
    encoders_ = new QTreeWidget;
    (new QVBoxLayout(encoderBox))->addWidget(encoders_);
    layout->addWidget(fieldBox, 3);
    layout->addWidget(encoderBox, 2);

    status_ = new QLabel;
    status_->setWordWrap(true);
    progress_ = new QProgressBar;
    progress_->setVisible(false);
    layout->addWidget(progress_);
    layout->addWidget(status_);

    // In the order of the work: the plan, then the send.
    auto* buttons = new QHBoxLayout;
    plan_ = new QPushButton(translated("Show plan"));
    send_ = new QPushButton(translated("Send"));
    close_ = new QPushButton(translated("Close"));
    buttons->addWidget(plan_);
    buttons->addWidget(send_);
    buttons->addStretch();
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    for (QPushButton* button : {plan_, send_, close_})
        button->setAutoDefault(false);
    connect(plan_, &QPushButton::clicked, this, &SendToEncodersDialog::showPlan);
    connect(send_, &QPushButton::clicked, this, &SendToEncodersDialog::sendPlanned);
    connect(close_, &QPushButton::clicked, this, &SendToEncodersDialog::reject);

    buildFieldList();
    buildEncoderList();
    worker_ = std::make_unique<SetWorker>(SetWorker::Calls{
        [this](std::size_t i) { started(i); },
        [this](std::size_t i, const SetOutcome& o) { finished(i, o); }, [this] { runDone(); }});
    connect(fields_, &QTreeWidget::itemChanged, this, &SendToEncodersDialog::choiceChanged);
    connect(encoders_, &QTreeWidget::itemChanged, this, &SendToEncodersDialog::choiceChanged);
    showIdle({});
    resize(760, 640);
}

SendToEncodersDialog::~SendToEncodersDialog() = default;

bool SendToEncodersDialog::running() const {
    return worker_->running();
}

void SendToEncodersDialog::buildFieldList() {
    fields_->setHeaderLabels({translated("Field"), translated("Value")});
    fields_->setRootIsDecorated(false);
    const void* block = source_.preset == 0 ? static_cast<const void*>(&source_.deviceValues)
                                            : static_cast<const void*>(&source_.presetValues);
    for (const FieldRange& range : blockRanges(source_.preset)) {
        QTreeWidgetItem* row =
            checkableRow(fields_->invisibleRootItem(),
                         {fieldLabel(range),
                          fromStd(fieldValueText(block, range)) + unitText(storedUnit(range))});
        row->setData(0, Qt::UserRole, QString::fromUtf8(range.name));
    }
    fields_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

void SendToEncodersDialog::buildEncoderList() {
    encoders_->setHeaderLabels({translated("Encoder"), translated("Result")});
    QTreeWidgetItem* site = nullptr;
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        const SendTarget& target = targets_[i];
        if (site == nullptr || site->text(0) != target.site) {
            site = checkableRow(encoders_->invisibleRootItem(), {target.site});
            site->setFlags(site->flags() | Qt::ItemIsAutoTristate);
            site->setExpanded(true);
        }
        QTreeWidgetItem* row = checkableRow(site, {target.encoder});
        row->setData(0, Qt::UserRole, static_cast<int>(i));
        if (!target.fault.isEmpty()) {
            row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
            row->setData(0, Qt::CheckStateRole, QVariant());
            row->setText(1, target.fault);
        }
    }
    encoders_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

std::vector<QTreeWidgetItem*> SendToEncodersDialog::chosenRows() const {
    std::vector<QTreeWidgetItem*> rows;
    for (int s = 0; s < encoders_->topLevelItemCount(); ++s) {
        QTreeWidgetItem* site = encoders_->topLevelItem(s);
        for (int e = 0; e < site->childCount(); ++e)
            if (site->child(e)->checkState(0) == Qt::Checked)
                rows.push_back(site->child(e));
    }
    return rows;
}

SetChange SendToEncodersDialog::chosenChange() const {
    SetChange change;
    change.device = source_.preset == 0;
    if (!change.device)
        change.presets = {source_.preset};
    const void* block = change.device ? static_cast<const void*>(&source_.deviceValues)
                                      : static_cast<const void*>(&source_.presetValues);
    for (int i = 0; i < fields_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = fields_->topLevelItem(i);
        if (row->checkState(0) != Qt::Checked)
            continue;
        const std::string name = row->data(0, Qt::UserRole).toString().toStdString();
        for (const FieldRange& range : blockRanges(source_.preset))
            if (name == range.name)
                change.assignments.push_back({&range, fieldValue(block, range)});
    }
    return change;
}

// A plan shown holds only for the choice it was made for.
void SendToEncodersDialog::choiceChanged() {
    if (running())
        return;
    planShown_ = false;
    showIdle({});
}

void SendToEncodersDialog::showIdle(const QString& status) {
    const bool chosen = !chosenChange().assignments.empty() && !chosenRows().empty();
    plan_->setEnabled(chosen);
    send_->setEnabled(chosen && planShown_ && counts_[int(SetStatus::Planned)] > 0);
    fields_->setEnabled(true);
    encoders_->setEnabled(true);
    close_->setText(translated("Close"));
    status_->setText(!status.isEmpty() ? status
                     : chosen          ? translated("Show the plan to see what would change.")
                                       : translated("Check at least one field and one encoder."));
}

void SendToEncodersDialog::showPlan() {
    const std::vector<RangeViolation> outside = assignmentsOutOfRange(chosenChange().assignments);
    force_ = !outside.empty();
    if (force_ && !askSendAnyway(this, outOfRangeLines(outside, source_.deviceValues)))
        return;
    run(false, chosenRows());
}

// The send goes to the encoders the plan would change: one that holds the values already
// needs nothing, and one that could not be read is no canary for the others.
void SendToEncodersDialog::sendPlanned() {
    std::vector<QTreeWidgetItem*> rows;
    for (QTreeWidgetItem* row : chosenRows())
        if (row->data(1, Qt::UserRole).toInt() == static_cast<int>(SetStatus::Planned))
            rows.push_back(row);
    if (rows.empty())
        return;
    const QString first = rows.front()->parent()->text(0) + "/" + rows.front()->text(0);
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kBoxTitle),
                    QCoreApplication::translate("q93::SendToEncoders",
                                                "Send the checked fields to the %n encoder(s) "
                                                "the plan would change?",
                                                nullptr, static_cast<int>(rows.size())),
                    QMessageBox::NoButton, this);
    box.setInformativeText(
        translated("%1 goes first, alone; the others follow only when it holds every value. Each "
                   "encoder is read back, and one that does not hold a value gets its old values "
                   "back. The other checked encoders are left alone.")
            .arg(first));
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    QPushButton* send = box.addButton(translated("Send"), QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == send)
        run(true, rows);
}

void SendToEncodersDialog::run(bool apply, std::vector<QTreeWidgetItem*> rows) {
    runRows_ = std::move(rows);
    std::vector<StoredEncoder> encoders;
    for (QTreeWidgetItem* row : runRows_) {
        encoders.push_back(targets_[row->data(0, Qt::UserRole).toInt()].stored);
        qDeleteAll(row->takeChildren());
        row->setText(1, QString());
    }
    applying_ = apply;
    planShown_ = false;
    std::fill(std::begin(counts_), std::end(counts_), 0);
    if (!worker_->start(chosenChange(), apply, force_, encoders))
        return;
    progress_->setVisible(true);
    progress_->setRange(0, static_cast<int>(encoders.size()));
    progress_->setValue(0);
    fields_->setEnabled(false);
    encoders_->setEnabled(false);
    plan_->setEnabled(false);
    send_->setEnabled(false);
    close_->setText(translated("Stop"));
}

void SendToEncodersDialog::started(std::size_t index) {
    QTreeWidgetItem* row = runRows_[index];
    row->setText(1, applying_ ? translated("sending...") : translated("reading..."));
    status_->setText(translated("%1 of %2: %3/%4")
                         .arg(index + 1)
                         .arg(runRows_.size())
                         .arg(row->parent()->text(0), row->text(0)));
}

void SendToEncodersDialog::finished(std::size_t index, const SetOutcome& outcome) {
    QTreeWidgetItem* row = runRows_[index];
    ++counts_[static_cast<int>(outcome.status)];
    row->setData(1, Qt::UserRole, static_cast<int>(outcome.status));
    row->setText(1, outcomeText(outcome));
    row->setToolTip(1, row->text(1));
    if (!setStatusHeld(outcome.status) && outcome.status != SetStatus::NotAttempted)
        row->setForeground(1, Qt::red);
    else
        row->setForeground(1, QBrush());
    for (const FieldChange& change : outcome.changes)
        new QTreeWidgetItem(row, {QString(), changeLine(change)});
    for (const FieldChange& drift : outcome.drift)
        new QTreeWidgetItem(row, {QString(), driftLine(drift)});
    row->setExpanded(true);
    progress_->setValue(static_cast<int>(index) + 1);
}

void SendToEncodersDialog::runDone() {
    const auto count = [this](SetStatus status) { return counts_[static_cast<int>(status)]; };
    const int failed = count(SetStatus::Failed) + count(SetStatus::RolledBack) +
                       count(SetStatus::RollBackFailed) + count(SetStatus::NotAttempted);
    QString summary;
    if (applying_) {
        summary = translated("Sent: %1 changed, %2 unchanged, %3 not changed.")
                      .arg(count(SetStatus::Changed))
                      .arg(count(SetStatus::Unchanged))
                      .arg(failed);
    } else {
        planShown_ = true;
        summary = count(SetStatus::Planned) == 0
                      ? translated("Plan: %1 unchanged, %2 could not be read; nothing to send.")
                            .arg(count(SetStatus::Unchanged))
                            .arg(failed)
                      : translated(
                            "Plan: %1 would change, %2 unchanged, %3 could not be read. "
                            "Send to go on.")
                            .arg(count(SetStatus::Planned))
                            .arg(count(SetStatus::Unchanged))
                            .arg(failed);
    }
    showIdle(summary);
}

void SendToEncodersDialog::reject() {
    if (running()) {
        worker_->stop();
        status_->setText(translated("Stopping after the encoder under way..."));
        return;
    }
    QDialog::reject();
}

}  // namespace q93
