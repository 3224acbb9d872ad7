#include <QComboBox>
#include <QLabel>

#include "screen/pages/com_prop.h"
#include "tests/screen/pages/device_page_support_test.h"

namespace q93 {
namespace {

struct PortRow {
    const char* label;
    int baudList;
    int responseList;
    std::int32_t DeviceParameters::*baud;
    std::int32_t DeviceParameters::*response;
};

constexpr PortRow kPorts[] = {
    {"Front:", 1028, 1056, &DeviceParameters::frontBaud, &DeviceParameters::frontResponse},
    {"DTE1:", 1029, 1057, &DeviceParameters::dte1Baud, &DeviceParameters::dte1Response},
    {"DTE2:", 1018, 1059, &DeviceParameters::dte2Baud, &DeviceParameters::dte2Response},
    {"DTE3:", 1019, 1061, &DeviceParameters::dte3Baud, &DeviceParameters::dte3Response},
};

class InterfacesPage : public test::DevicePageTest {
protected:
    InterfacesPage() : page(&owner, params) { page.ensureBuilt(); }

    QComboBox* list(int id) const { return page.controlAs<QComboBox>(id); }
    QStringList labels() const {
        QStringList texts;
        for (const QLabel* label : page.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }

    COMProp page;
};

TEST_P(InterfacesPage, OffersBaudRatesAndResponseModesPerPort) {
    EXPECT_EQ(page.caption(), german() ? "Schnittstellen" : "Interfaces");
    EXPECT_TRUE(labels().contains(german() ? "Antwort" : "Response"));
    const QStringList bauds{"1200", "2400", "4800", "9600", "19200", "38400"};
    const QStringList responses{"None", "Request", "Spontan"};
    for (const PortRow& port : kPorts) {
        EXPECT_TRUE(labels().contains(port.label)) << port.label;
        QStringList baudEntries, responseEntries;
        for (int i = 0; i < list(port.baudList)->count(); ++i) {
            baudEntries << list(port.baudList)->itemText(i);
        }
        for (int i = 0; i < list(port.responseList)->count(); ++i) {
            responseEntries << list(port.responseList)->itemText(i);
        }
        EXPECT_EQ(baudEntries, bauds) << port.label;
        EXPECT_EQ(responseEntries, responses) << port.label;
    }
}

TEST_P(InterfacesPage, LoadsEachPortIntoItsOwnLists) {
    DeviceParameters& device = params.device;
    int value = 0;
    for (const PortRow& port : kPorts) {
        device.*port.baud = 5 - value;
        device.*port.response = value % 3;
        ++value;
    }
    page.LoadFromParams();
    const char* expected[][2] = {
        {"38400", "None"}, {"19200", "Request"}, {"9600", "Spontan"}, {"4800", "None"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list(kPorts[i].baudList)->currentText(), expected[i][0]) << kPorts[i].label;
        EXPECT_EQ(list(kPorts[i].responseList)->currentText(), expected[i][1]) << kPorts[i].label;
    }
}

// An index beyond its list shows no entry and is stored back as it was.
TEST_P(InterfacesPage, StoresTheSelectedIndexesAndKeepsOnesOutsideTheList) {
    DeviceParameters& device = params.device;
    device.frontBaud = 6;
    device.dte2Response = 3;
    device.dte3Baud = -1;
    page.LoadFromParams();
    EXPECT_EQ(list(1028)->currentIndex(), -1);
    list(1056)->setCurrentIndex(2);
    list(1029)->setCurrentIndex(3);
    list(1018)->setCurrentIndex(1);
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(device.frontBaud, 6);
    EXPECT_EQ(device.frontResponse, 2);
    EXPECT_EQ(device.dte1Baud, 3);
    EXPECT_EQ(device.dte1Response, 0);
    EXPECT_EQ(device.dte2Baud, 1);
    EXPECT_EQ(device.dte2Response, 3);
    EXPECT_EQ(device.dte3Baud, -1);
    EXPECT_EQ(device.dte3Response, 0);
}

}  // namespace

Q93_PAGES_BOTH_LANGUAGES(InterfacesPage);

}  // namespace q93
