#include "screen/dialogs/connection_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "base/string_table.h"
#include "base/user_seam.h"
#include "link/connection_fields.h"
#include "link/ping.h"
#include "resources/templates/connection_template.h"
#include "screen/kit/ip_address_edit.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

constexpr int kPingTtl = 50;
constexpr int kPingTimeoutMs = 3000;
constexpr int kPingDataSize = 32;

constexpr const char* kTcpPortChars = "0123456789";
constexpr int kTcpPortDigits = 5;
constexpr int kLowestTcpPort = 0;
constexpr int kHighestTcpPort = 65535;

constexpr int kAnswerText = 102;
constexpr int kNoAnswerText = 103;
constexpr int kInvalidTcpPortText = 127;

QString answerText(int echoTimeMs) {
    char text[256];
    std::snprintf(text, sizeof text, LoadResString(kAnswerText), echoTimeMs);
    return QString::fromUtf8(text);
}

}  // namespace

ConnectionDialog::ConnectionDialog(const ConnectionSettings& initial, QWidget* parent)
    : QDialog(parent), settings_(initial) {
    buildTemplate(connectionTemplate(), this);
    setWindowTitle(dialogTitle(connectionTemplate()));
    setFixedSize(dialogPixelSize(connectionTemplate()));
    fillControls(initial);
    connect(pingButton(), &QPushButton::clicked, this, &ConnectionDialog::startPing);
    connect(control<QPushButton>(this, kConnectionOk), &QPushButton::clicked, this,
            &ConnectionDialog::accept);
    connect(control<QPushButton>(this, kConnectionCancel), &QPushButton::clicked, this,
            &ConnectionDialog::reject);
}

ConnectionDialog::~ConnectionDialog() {
    if (pingThread_.joinable())
        pingThread_.join();
}

IpAddressEdit* ConnectionDialog::ipAddressEdit() const {
    return control<IpAddressEdit>(this, kConnectionIpAddress);
}
CMaskEdit* ConnectionDialog::tcpPortEdit() const {
    return control<CMaskEdit>(this, kConnectionTcpPort);
}
QComboBox* ConnectionDialog::portList() const {
    return control<QComboBox>(this, kConnectionPort);
}
QComboBox* ConnectionDialog::speedList() const {
    return control<QComboBox>(this, kConnectionSpeed);
}
QCheckBox* ConnectionDialog::readAckBox() const {
    return control<QCheckBox>(this, kConnectionReadAck);
}
QPushButton* ConnectionDialog::pingButton() const {
    return control<QPushButton>(this, kConnectionPing);
}
QLabel* ConnectionDialog::pingResultLabel() const {
    return control<QLabel>(this, kConnectionPingResult);
}

void ConnectionDialog::fillControls(const ConnectionSettings& initial) {
    for (const std::string& name : connectionPortNames())
        portList()->addItem(QString::fromStdString(name));
    portList()->setCurrentIndex(findPortItem(initial.portName));
    const bool knownSpeed = initial.speedIndex >= 0 && initial.speedIndex < speedList()->count();
    speedList()->setCurrentIndex(knownSpeed ? initial.speedIndex : -1);
    readAckBox()->setChecked(initial.readAck != 0);
    ipAddressEdit()->setAddress(ipAddressParts(initial.ipAddress));

    CMaskEdit* port = tcpPortEdit();
    port->SetValidChars(kTcpPortChars);
    port->SetTextLimit(kTcpPortDigits);
    // Set once before the text as well, so that a stored port above 65535 opens red.
    port->SetIntRange(kLowestTcpPort, kHighestTcpPort);
    connect(port, &QLineEdit::textChanged, port,
            [port] { port->SetIntRange(kLowestTcpPort, kHighestTcpPort); });
    port->setText(QString::fromStdString(initial.tcpPort));
}

void ConnectionDialog::accept() {
    const std::string portText = tcpPortEdit()->text().toStdString();
    if (!isTcpPortInRange(tcpPortNumber(portText))) {
        showWarning(LoadResString(kInvalidTcpPortText));
        return;
    }
    settings_.ipAddress = ipAddressText(ipAddressEdit()->address());
    settings_.tcpPort = portText;
    if (portList()->currentIndex() >= 0)
        settings_.portName = portList()->currentText().toStdString();
    settings_.speedIndex = speedList()->currentIndex();
    settings_.readAck = readAckBox()->isChecked() ? 1 : 0;
    QDialog::accept();
}

void ConnectionDialog::startPing() {
    if (pingThread_.joinable())
        return;
    const std::string host = ipAddressText(ipAddressEdit()->address());
    pingButton()->setEnabled(false);
    // The ping may wait its whole time-out; off this thread the dialog keeps painting.
    pingThread_ = std::thread([this, host] {
        std::string address;
        int echoTimeMs = 0;
        const bool answered =
            pingHost(host, address, echoTimeMs, kPingTtl, kPingTimeoutMs, kPingDataSize);
        // Posted under the lock that pingFinished takes, so that the hand-over is ordered
        // for ThreadSanitizer too, which cannot see Qt's own event-queue lock.
        std::lock_guard lock(pingMutex_);
        pingDone_ = true;
        pingEchoMs_ = answered ? std::optional<int>(echoTimeMs) : std::nullopt;
        QMetaObject::invokeMethod(this, "pingFinished", Qt::QueuedConnection);
    });
}

void ConnectionDialog::pingFinished() {
    std::optional<int> echoTimeMs;
    {
        std::lock_guard lock(pingMutex_);
        if (!pingDone_)
            return;
        pingDone_ = false;
        echoTimeMs = pingEchoMs_;
    }
    pingThread_.join();
    pingResultLabel()->setText(echoTimeMs ? answerText(*echoTimeMs)
                                          : QString::fromUtf8(LoadResString(kNoAnswerText)));
    pingButton()->setEnabled(true);
}

std::optional<ConnectionSettings> runConnectionDialog(const ConnectionSettings& initial,
                                                      QWidget* parent) {
    ConnectionDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}

}  // namespace q93
