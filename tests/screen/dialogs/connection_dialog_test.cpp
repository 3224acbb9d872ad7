#include "screen/dialogs/connection_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

#include "base/string_table.h"
#include "resources/templates/connection_template.h"
#include "screen/kit/ip_address_edit.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/template_builder.h"
#include "tests/link/test_case_names.h"
#include "tests/screen/dialogs/link_gui_support.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

void clickButton(const ConnectionDialog& dialog, int id) {
    control<QPushButton>(&dialog, id)->click();
}

// The five values as one comparable, printable record.
std::tuple<std::string, std::string, std::string, int, int> fields(const ConnectionSettings& s) {
    return {s.ipAddress, s.tcpPort, s.portName, s.speedIndex, s.readAck};
}

// What the dialog shows: address, TCP port, port item, speed item, the read-ACK box.
std::string shown(const ConnectionDialog& dialog) {
    QStringList address;
    for (int i = 0; i < 4; ++i)
        address << dialog.ipAddressEdit()->field(i)->text();
    return QStringList{address.join('.'), dialog.tcpPortEdit()->text(),
                       dialog.portList()->currentText(), dialog.speedList()->currentText(),
                       dialog.readAckBox()->isChecked() ? "ACK" : "no ACK"}
        .join(", ")
        .toStdString();
}

struct OpeningCase {
    const char* name;
    ConnectionSettings stored;
    const char* shown;
    ConnectionSettings returned;  // by OK without an edit
};

class ConnectionDialogOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(ConnectionDialogOpening, ShowsTheStoredValuesAndReturnsThemOnOk) {
    ConnectionDialog dialog(GetParam().stored);
    EXPECT_EQ(shown(dialog), GetParam().shown);
    clickButton(dialog, kConnectionOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fields(dialog.settings()), fields(GetParam().returned));
}

// clang-format off
const OpeningCase kOpenings[] = {
    {"EmptyTexts", {"", "", "", 3, 1}, "127.0.0.1, , TCP/IP, 9600, ACK",
     {"127.0.0.1", "", "TCP/IP", 3, 1}},
    {"SerialPort", {"10.0.0.5", "5000", "COM3", 5, 0}, "10.0.0.5, 5000, COM3, 38400, no ACK",
     {"10.0.0.5", "5000", "COM3", 5, 0}},
    {"PrefixInAnyCase", {"192.168.1", "80", "com1", 0, 2}, "192.168.1.1, 80, COM1, 1200, ACK",
     {"192.168.1.1", "80", "COM1", 0, 1}},
    {"UnknownPortKeptUnchanged", {"300.-1.x", "", "COM20", -1, 0}, "44.255.0.1, , , , no ACK",
     {"44.255.0.1", "", "COM20", -1, 0}},
    {"SpeedBeyondTheList", {"", "", "t", 6, 0}, "127.0.0.1, , TCP/IP, , no ACK",
     {"127.0.0.1", "", "TCP/IP", -1, 0}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Stored, ConnectionDialogOpening, ::testing::ValuesIn(kOpenings),
                         test::RowName());

class ConnectionDialogTest : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override { setLanguage(GetParam()); }
    void TearDown() override { setLanguage(Language::German); }
    bool german() const { return GetParam() == Language::German; }

    test::RecordingSeam seam;
};

TEST_P(ConnectionDialogTest, RefusesATcpPortAboveTheRangeWithMessage127) {
    ConnectionDialog dialog({"10.0.0.5", "", "TCP/IP", 3, 1});
    EXPECT_EQ(dialog.windowTitle(), german() ? "Encoder Eigenschaften" : "Generator Properties");
    EXPECT_EQ(dialog.pingResultLabel()->text(), german() ? "Nicht getestet" : "Not tested");
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.tcpPortEdit()->setFocus();
    test::typeIntoFocus("7a0000123");
    EXPECT_EQ(dialog.tcpPortEdit()->text(), "70000");
    EXPECT_EQ(dialog.tcpPortEdit()->backgroundColor(), CMaskEdit::invalidColor());

    clickButton(dialog, kConnectionOk);
    EXPECT_EQ(seam.warnings, std::vector<std::string>{german() ? "Ungültiger TCP-Port (0-65535) !"
                                                               : "Invalid TCP-Port (0-65535) !"});
    EXPECT_TRUE(dialog.isVisible());

    test::typeIntoFocus("\b");
    EXPECT_EQ(dialog.tcpPortEdit()->backgroundColor(), CMaskEdit::normalColor());
    clickButton(dialog, kConnectionOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.settings().tcpPort, "7000");
    EXPECT_EQ(seam.warnings.size(), 1u);
}

TEST_P(ConnectionDialogTest, CancelReturnsNothing) {
    test::whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ConnectionDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->portList()->setCurrentIndex(2);
        clickButton(*dialog, kConnectionCancel);
    });
    EXPECT_FALSE(runConnectionDialog({"10.0.0.5", "5000", "COM3", 3, 1}, nullptr).has_value());
}

INSTANTIATE_TEST_SUITE_P(Languages, ConnectionDialogTest,
                         ::testing::Values(Language::German, Language::English),
                         test::languageCaseName);

}  // namespace
}  // namespace q93
