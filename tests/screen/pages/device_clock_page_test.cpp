#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "screen/pages/property_sheet.h"
#include "screen/pages/rtc_prop.h"
#include "tests/screen/pages/device_page_support_test.h"

namespace q93 {
namespace {

class ClockPage : public test::DevicePageTest {
protected:
    ClockPage() : page(&owner) { page.ensureBuilt(); }

    QRadioButton* pcTime() const { return page.controlAs<QRadioButton>(1047); }
    QRadioButton* manual() const { return page.controlAs<QRadioButton>(1048); }
    QDateEdit* date() const { return page.controlAs<QDateEdit>(1021); }
    QTimeEdit* time() const { return page.controlAs<QTimeEdit>(1022); }
    QComboBox* offsets() const { return page.controlAs<QComboBox>(1051); }
    QPushButton* sendButton() const { return page.controlAs<QPushButton>(1006); }
    QPushButton* readButton() const { return page.controlAs<QPushButton>(1005); }

    bool manualControlsEnabled() const {
        EXPECT_EQ(date()->isEnabled(), time()->isEnabled());
        EXPECT_EQ(date()->isEnabled(), offsets()->isEnabled());
        return date()->isEnabled();
    }
    // The encoder's answer as the owner's ReadClock hands it over.
    void answerReadWith(const ClockValues& clock) {
        owner.duringCall = [this, clock] { page.DeliverReadClock(clock); };
    }
    void sendManually(QDate day, QTime at, const char* offset) {
        manual()->click();
        date()->setDate(day);
        time()->setTime(at);
        offsets()->setCurrentIndex(offsets()->findText(offset));
        sendButton()->click();
    }

    RTCProp page;
};

TEST_P(ClockPage, StartsOnPcTimeWithTheManualControlsDisabled) {
    EXPECT_EQ(page.caption(), german() ? "Echtzeit Uhr" : "Realtime Clock");
    EXPECT_EQ(pcTime()->text(), german() ? "PC Zeit" : "PC Time");
    EXPECT_EQ(manual()->text(), german() ? "Manuell" : "Manual");
    EXPECT_EQ(sendButton()->text(), german() ? "Senden" : "Send");
    EXPECT_EQ(readButton()->text(), german() ? "Einlesen" : "Read");
    EXPECT_TRUE(pcTime()->isChecked());
    EXPECT_FALSE(manual()->isChecked());
    EXPECT_FALSE(manualControlsEnabled());
    EXPECT_FALSE(page.hasParameters());
}

TEST_P(ClockPage, OffsetListIsFilledHiddenAndAtZero) {
    ASSERT_EQ(offsets()->count(), 49);
    EXPECT_EQ(offsets()->itemText(0), "-12:00");
    EXPECT_EQ(offsets()->itemText(23), "-0:30");
    EXPECT_EQ(offsets()->itemText(48), "12:00");
    EXPECT_EQ(offsets()->currentText(), "0:00");
    EXPECT_TRUE(offsets()->isHidden());
    int hiddenLabels = 0;
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (label->text() == "Offset ( h ):" && label->isHidden())
            ++hiddenLabels;
    }
    EXPECT_EQ(hiddenLabels, 1);
}

TEST_P(ClockPage, ManualEnablesAndPcTimeDisablesDateTimeAndOffset) {
    manual()->click();
    EXPECT_TRUE(manualControlsEnabled());
    pcTime()->click();
    EXPECT_FALSE(manualControlsEnabled());
}

TEST_P(ClockPage, ManualSendPassesPickersAndOffsetCode) {
    struct Case {
        QDate day;
        QTime at;
        const char* offset;
        ClockValues sent;
    };
    const Case cases[] = {
        {QDate(2008, 3, 15), QTime(14, 5, 9), "1:00", {8, 3, 15, 14, 5, 9, 0x02}},
        {QDate(2008, 12, 31), QTime(23, 59, 59), "-1:30", {8, 12, 31, 23, 59, 59, 0x23}},
        {QDate(2026, 1, 2), QTime(0, 0, 0), "1:30", {26, 1, 2, 0, 0, 0, 0x03}},
        {QDate(2069, 6, 1), QTime(1, 2, 3), "-12:00", {69, 6, 1, 1, 2, 3, 0x38}},
        {QDate(1975, 6, 1), QTime(1, 2, 3), "12:00", {75, 6, 1, 1, 2, 3, 24}},
    };
    for (const Case& c : cases) {
        owner.calls.clear();
        sendManually(c.day, c.at, c.offset);
        EXPECT_EQ(owner.calls, std::vector<std::string>{"WriteClock"});
        EXPECT_EQ(page.ClockToSend(), c.sent) << c.day.toString().toStdString();
    }
}

TEST_P(ClockPage, PcTimeSendPassesTheComputerClockWithoutOffset) {
    manual()->click();
    offsets()->setCurrentIndex(0);
    pcTime()->click();
    // The values are taken between these two readings of the clock.
    const QDateTime before = QDateTime::currentDateTime();
    sendButton()->click();
    const QDateTime after = QDateTime::currentDateTime();

    EXPECT_EQ(owner.calls, std::vector<std::string>{"WriteClock"});
    const ClockValues sent = page.ClockToSend();
    EXPECT_EQ(sent.offsetCode, 0);
    const QDateTime sentAt(QDate(2000 + sent.year, sent.month, sent.day),
                           QTime(sent.hour, sent.minute, sent.second));
    const QDateTime beforeInSeconds(
        before.date(), QTime(before.time().hour(), before.time().minute(), before.time().second()));
    EXPECT_LE(beforeInSeconds, sentAt);
    EXPECT_LE(sentAt, after);
}

TEST_P(ClockPage, ReadShowsTheEncoderClockInTheCenturyItBelongsTo) {
    struct Case {
        ClockValues read;
        QDate day;
        QTime at;
        const char* offset;
    };
    const Case cases[] = {
        {{8, 3, 15, 14, 5, 9, 0x02}, QDate(2008, 3, 15), QTime(14, 5, 9), "1:00"},
        {{75, 12, 31, 23, 59, 59, 0x38}, QDate(1975, 12, 31), QTime(23, 59, 59), "-12:00"},
        {{99, 1, 1, 0, 0, 0, 0x23}, QDate(1999, 1, 1), QTime(0, 0, 0), "-1:30"},
        {{7, 2, 28, 12, 30, 0, 24}, QDate(2007, 2, 28), QTime(12, 30, 0), "12:00"},
    };
    for (const Case& c : cases) {
        owner.calls.clear();
        answerReadWith(c.read);
        readButton()->click();
        EXPECT_EQ(owner.calls, std::vector<std::string>{"ReadClock"});
        EXPECT_EQ(date()->date(), c.day);
        EXPECT_EQ(time()->time(), c.at);
        EXPECT_EQ(offsets()->currentText(), c.offset);
    }
    // Reading changes neither the mode nor the enabling: PC Time shows the values disabled.
    EXPECT_TRUE(pcTime()->isChecked());
    EXPECT_FALSE(manualControlsEnabled());
}

TEST_P(ClockPage, AReadThatBringsNothingKeepsTheDateAndTimeShown) {
    answerReadWith({8, 3, 15, 14, 5, 9, 0x02});
    readButton()->click();
    owner.duringCall = nullptr;  // the transfer failed: nothing delivered
    readButton()->click();
    EXPECT_EQ(date()->date(), QDate(2008, 3, 15));
    EXPECT_EQ(time()->time(), QTime(0, 0, 0));
    EXPECT_EQ(offsets()->currentText(), "0:00");

    answerReadWith({8, 2, 30, 25, 0, 0, 0x3F});
    readButton()->click();
    EXPECT_EQ(date()->date(), QDate(2008, 3, 15));
    EXPECT_EQ(time()->time(), QTime(0, 0, 0));
    EXPECT_EQ(offsets()->currentIndex(), -1);
    // No offset chosen sends none.
    manual()->click();
    sendButton()->click();
    EXPECT_EQ(page.ClockToSend().offsetCode, 0);
}

// The page as the sheet shows it among the device pages.
class ClockPageInSheet : public test::DevicePageTest {
protected:
    QComboBox* offsets() const { return sheet.clockPage()->controlAs<QComboBox>(1051); }
    void click(int id) const { sheet.clockPage()->controlAs<QAbstractButton>(id)->click(); }

    MyPropertySheet sheet{&owner};
};

// Each time the device pages are shown the page is new: its offset list is back at 0:00, so a
// manual Send does not carry the offset that a Read brought from the encoder shown before.
TEST_P(ClockPageInSheet, StartsAtOffsetZeroWhenShownAgain) {
    sheet.ShowDevicePages();
    sheet.setCurrentIndex(1);
    RTCProp* page = sheet.clockPage();
    owner.duringCall = [page] { page->DeliverReadClock({8, 3, 15, 14, 5, 9, 0x23}); };
    click(1005);
    EXPECT_EQ(offsets()->currentText(), "-1:30");
    owner.duringCall = nullptr;

    sheet.ShowLocationPage();
    sheet.ShowDevicePages();
    sheet.setCurrentIndex(1);
    EXPECT_EQ(offsets()->currentText(), "0:00");
    click(1048);
    click(1006);
    EXPECT_EQ(page->ClockToSend().offsetCode, 0);
}

}  // namespace

Q93_PAGES_BOTH_LANGUAGES(ClockPage);
Q93_PAGES_BOTH_LANGUAGES(ClockPageInSheet);

}  // namespace q93
