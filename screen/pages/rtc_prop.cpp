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
    if (auto* pcTime = controlAs<QRadioButton>(kClockPcTime))
        pcTime->setChecked(true);
    enableManualControls(false);
}

void RTCProp::OnNewWindow() {
    SelectListIndex(controlAs<QComboBox>(kClockOffsetList), kZeroOffsetEntry);
}

void RTCProp::setUpPickers() {
    if (auto* date = controlAs<QDateEdit>(kClockDate)) {
        date->setDateRange(kFirstClockDate, kLastClockDate);
    }
    // The encoder's clock has seconds, and so does what it sends back.
    if (auto* time = controlAs<QTimeEdit>(kClockTime)) {
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
}

void RTCProp::fillOffsetList() {
    auto* offsets = controlAs<QComboBox>(kClockOffsetList);
    if (offsets == nullptr)
        return;
    offsets->clear();
    for (const std::string& entry : OffsetListEntries()) {
        offsets->addItem(QString::fromStdString(entry));
    }
    SelectListIndex(offsets, kZeroOffsetEntry);
}

void RTCProp::connectControls() {
    if (auto* pcTime = controlAs<QRadioButton>(kClockPcTime)) {
        connect(pcTime, &QRadioButton::clicked, this, [this] { enableManualControls(false); });
    }
    if (auto* manual = controlAs<QRadioButton>(kClockManual)) {
        connect(manual, &QRadioButton::clicked, this, [this] { enableManualControls(true); });
    }
    if (auto* send = controlAs<QPushButton>(kClockSend)) {
        connect(send, &QPushButton::clicked, this, [this] { this->send(); });
    }
    if (auto* read = controlAs<QPushButton>(kClockRead)) {
        connect(read, &QPushButton::clicked, this, [this] { this->read(); });
    }
}

void RTCProp::enableManualControls(bool enabled) {
    for (int id : {kClockDate, kClockTime, kClockOffsetList}) {
        if (QWidget* widget = controlAs<QWidget>(id))
            widget->setEnabled(enabled);
    }
}

void RTCProp::send() {
    if (isOn(controlAs<QRadioButton>(kClockPcTime))) {
        // One reading of the PC clock for both date and time, so that a click just before
        // midnight cannot send the old day with the new day's time.
        const QDateTime now = QDateTime::currentDateTime();
        toSend_ = ComposeClock(now.date().year(), now.date().month(), now.date().day(),
                               now.time().hour(), now.time().minute(), now.time().second(), 0);
    } else {
        const QDate date = controlAs<QDateEdit>(kClockDate)->date();
        const QTime time = controlAs<QTimeEdit>(kClockTime)->time();
        const int offsetCode =
            OffsetCodeFromEntry(SelectedListIndex(controlAs<QComboBox>(kClockOffsetList)));
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
    auto* datePicker = controlAs<QDateEdit>(kClockDate);
    if (datePicker != nullptr && date.isValid() && date >= kFirstClockDate &&
        date <= kLastClockDate) {
        datePicker->setDate(date);
    }
    const QTime time(clock.hour, clock.minute, clock.second);
    auto* timePicker = controlAs<QTimeEdit>(kClockTime);
    if (timePicker != nullptr && time.isValid())
        timePicker->setTime(time);
    SelectListIndex(controlAs<QComboBox>(kClockOffsetList), OffsetEntryFromCode(clock.offsetCode));
}

}  // namespace q93
