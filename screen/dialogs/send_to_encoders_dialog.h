#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "fleet/set_procedure.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace q93 {

class SetWorker;

// What a send starts from: the stored values of one block of one encoder.
struct SendSource {
    QString name;    // as the tree shows the node: "Site 1/Encoder 2/Preset 3"
    int preset = 0;  // 0: the device settings
    PresetParameters presetValues;
    DeviceParameters deviceValues;  // also the units the values out of range are shown in
};

// One encoder the values may go to, by site.
struct SendTarget {
    QString site;
    QString encoder;
    StoredEncoder stored;
    QString fault;  // why it cannot be reached (greyed in the tree); empty when it can
};

// "Send to other encoders...": the user checks fields of the source block and the encoders
// they go to, sees per encoder what would change (read live), and only then sends. A send
// runs the core procedure of `q93ctl set`: each encoder under its lock, the first alone, every
// field read back, an encoder that does not hold them given its old values back, the stored
// files written only where every field held.
class SendToEncodersDialog : public QDialog {
    Q_OBJECT

public:
    SendToEncodersDialog(const SendSource& source, std::vector<SendTarget> targets,
                         QWidget* parent = nullptr);
    ~SendToEncodersDialog() override;

    QTreeWidget* fieldList() const { return fields_; }
    QTreeWidget* encoderList() const { return encoders_; }
    QPushButton* planButton() const { return plan_; }
    QPushButton* sendButton() const { return send_; }
    QLabel* statusLabel() const { return status_; }
    bool running() const;

public slots:
    // Closing while encoders are under way stops the run instead, after the one under way.
    void reject() override;

private:
    void buildFieldList();
    void buildEncoderList();
    void choiceChanged();
    void showPlan();
    void sendPlanned();
    void run(bool apply, std::vector<QTreeWidgetItem*> rows);
    void started(std::size_t index);
    void finished(std::size_t index, const SetOutcome& outcome);
    void runDone();
    void showIdle(const QString& status);
    SetChange chosenChange() const;
    // The checked encoders, in tree order, with their rows.
    std::vector<QTreeWidgetItem*> chosenRows() const;

    SendSource source_;
    std::vector<SendTarget> targets_;
    QTreeWidget* fields_;
    QTreeWidget* encoders_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* plan_;
    QPushButton* send_;
    QPushButton* close_;
    std::vector<QTreeWidgetItem*> runRows_;  // the rows of the run under way, by index
    bool applying_ = false;
    bool force_ = false;
    bool planShown_ = false;
    int counts_[7] = {};  // outcomes of the last run, by SetStatus
    std::unique_ptr<SetWorker> worker_;
};

}  // namespace q93
