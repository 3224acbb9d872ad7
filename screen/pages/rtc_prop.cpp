#include "screen/pages/rtc_prop.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "protocol/clock_values.h"
#include "resources/templates/clock_page_template.h"
#include "screen/pages/page_helpers.h"
#include "screen/pages/page_owner.h"

namespace q93 {
namespace {

constexpr int kPcTime = 1047;
constexpr int kManual = 1048;
constexpr int kDate = 1021;
constexpr int kTime = 1022;
constexpr int kOffsetList = 1051;
constexpr int kSend = 1006;
constexpr int kRead = 1005;

// The dates a two-digit clock year can stand for: sending 1970-2069 and reading back give
// the same year.
const QDate kFirstClockDate(1970, 1, 1);
const QDate kLastClockDate(2069, 12, 31);

}  // namespace

RTCProp::RTCProp(PageOwner* owner, QWidget* parent)
    : PropertyPage(clockPageTemplate(), parent), owner_(owner) {}

void RTCProp::InitDialog() {
    setUpPickers();
    fillOffsetList();
    connectControls();
    if (auto* pcTime = controlAs<QRadioButton>(kPcTime))
        pcTime->setChecked(true);
    enableManualControls(false);
}

void RTCProp::OnNewWindow() {
    SelectListIndex(controlAs<QComboBox>(kOffsetList), kZeroOffsetEntry);
}

void RTCProp::setUpPickers() {
    if (auto* date = controlAs<QDateEdit>(kDate)) {
        date->setDateRange(kFirstClockDate, kLastClockDate);
    }
    // The encoder's clock has seconds, and so does what it sends back.
    if (auto* time = controlAs<QTimeEdit>(kTime)) {
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
}

void RTCProp::fillOffsetList() {
    auto* offsets = controlAs<QComboBox>(kOffsetList);
    if (offsets == nullptr)
        return;
    offsets->clear();
    for (const std::string& entry : OffsetListEntries()) {
        offsets->addItem(QString::fromStdString(entry));
    }
    SelectListIndex(offsets, kZeroOffsetEntry);
}

void RTCProp::connectControls() {
    if (auto* pcTime = controlAs<QRadioButton>(kPcTime)) {
        connect(pcTime, &QRadioButton::clicked, this, [this] { enableManualControls(false); });
    }
    if (auto* manual = controlAs<QRadioButton>(kManual)) {
        connect(manual, &QRadioButton::clicked, this, [this] { enableManualControls(true); });
    }
    if (auto* send = controlAs<QPushButton>(kSend)) {
        connect(send, &QPushButton::clicked, this, [this] { this->send(); });
    }
    if (auto* read = controlAs<QPushButton>(kRead)) {
        connect(read, &QPushButton::clicked, this, [this] { this->read(); });
    }
}

void RTCProp::enableManualControls(bool enabled) {
    for (int id : {kDate, kTime, kOffsetList}) {
        if (QWidget* widget = controlAs<QWidget>(id))
            widget->setEnabled(enabled);
    }
}

void RTCProp::send() {
    if (isOn(controlAs<QRadioButton>(kPcTime))) {
        // One reading of the PC clock for both date and time, so that a click just before
        // midnight cannot send the old day with the new day's time.
        const QDateTime now = QDateTime::currentDateTime();
        toSend_ = ComposeClock(now.date().year(), now.date().month(), now.date().day(),
                               now.time().hour(), now.time().minute(), now.time().second(), 0);
    } else {
        const QDate date = controlAs<QDateEdit>(kDate)->date();
        const QTime time = controlAs<QTimeEdit>(kTime)->time();
        const int offsetCode =
            OffsetCodeFromEntry(SelectedListIndex(controlAs<QComboBox>(kOffsetList)));
        toSend_ = ComposeClock(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                               time.second(), offsetCode);
    }
    if (owner_ != nullptr)
        owner_->WriteClock();
}

void RTCProp::read() {
    read_ = ClockValues{};
    if (owner_ != nullptr)
        owner_->ReadClock();
    showClock(read_);
}

void RTCProp::showClock(const ClockValues& clock) {
    // An impossible date or time (a read that brought nothing gives zeros) leaves the
    // picker as it was rather than showing a made-up value.
    const QDate date(FullYearFromClock(clock.year), clock.month, clock.day);
    auto* datePicker = controlAs<QDateEdit>(kDate);
    if (datePicker != nullptr && date.isValid() && date >= kFirstClockDate &&
        date <= kLastClockDate) {
        datePicker->setDate(date);
    }
    const QTime time(clock.hour, clock.minute, clock.second);
    auto* timePicker = controlAs<QTimeEdit>(kTime);
    if (timePicker != nullptr && time.isValid())
        timePicker->setTime(time);
    SelectListIndex(controlAs<QComboBox>(kOffsetList), OffsetEntryFromCode(clock.offsetCode));
}

}  // namespace q93
