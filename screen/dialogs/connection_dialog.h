#pragma once

#include <QDialog>
#include <mutex>
#include <optional>
#include <thread>

#include "protocol/connection_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace q93 {

class CMaskEdit;
class IpAddressEdit;

// Dialog 105: edits how to reach one encoder and pings its address. The controls carry the
// template's ids (resources/templates/connection_template.h).
class ConnectionDialog : public QDialog {
    Q_OBJECT

public:
    explicit ConnectionDialog(const ConnectionSettings& initial, QWidget* parent = nullptr);
    // Waits for a ping still out, at most its time-out.
    ~ConnectionDialog() override;

    // The values OK took; before that the values the dialog was opened with.
    const ConnectionSettings& settings() const { return settings_; }

    IpAddressEdit* ipAddressEdit() const;
    CMaskEdit* tcpPortEdit() const;
    QComboBox* portList() const;
    QComboBox* speedList() const;
    QCheckBox* readAckBox() const;
    QPushButton* pingButton() const;
    QLabel* pingResultLabel() const;

public slots:
    // OK: refuses a TCP port outside 0..65535 with message 127 and stays open.
    void accept() override;

private:
    void fillControls(const ConnectionSettings& initial);
    void startPing();
    // Called on the dialog's thread once the ping thread has its result.
    Q_INVOKABLE void pingFinished();

    ConnectionSettings settings_;

    std::thread pingThread_;
    std::mutex pingMutex_;
    bool pingDone_ = false;          // guarded by pingMutex_
    std::optional<int> pingEchoMs_;  // guarded by pingMutex_; empty: no answer
};

// Shows the dialog modally; the new values on OK, nothing on Cancel.
std::optional<ConnectionSettings> runConnectionDialog(const ConnectionSettings& initial,
                                                      QWidget* parent);

}  // namespace q93
