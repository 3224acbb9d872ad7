#pragma once

#include "protocol/clock_values.h"
#include "screen/pages/property_page.h"

namespace q93 {

class PageOwner;

// The Realtime clock device page. It holds no parameters and stores nothing; its two buttons
// start the owner's clock transfers.
//
// The owner's side of the clock transfer:
// - "Send" gathers the values (the PC's clock with offset 0 in "PC Time" mode, else the
//   pickers and the offset list) and then calls PageOwner::WriteClock, which takes them
//   from ClockToSend().
// - "Read" calls PageOwner::ReadClock, which hands what the encoder returned to
//   DeliverReadClock(); once ReadClock returns the page shows it. A read that delivers
//   nothing counts as all zeros. A date or time that cannot be (day 0, hour 25) leaves its
//   picker as it was; a code outside the offset list leaves the list without a selection.
class RTCProp : public PropertyPage {
    Q_OBJECT

public:
    explicit RTCProp(PageOwner* owner, QWidget* parent = nullptr);

    bool hasParameters() const override { return false; }
    // The offset list starts at 0:00 again, whatever the last Read selected: a later manual
    // Send must not carry the offset of an encoder shown before.
    void OnNewWindow() override;

    // The seven values of the last "Send", the year as its last two digits.
    const ClockValues& ClockToSend() const { return toSend_; }
    // The seven values read back, year as two digits.
    void DeliverReadClock(const ClockValues& read) { read_ = read; }

protected:
    void InitDialog() override;

private:
    void setUpPickers();
    void fillOffsetList();
    void connectControls();
    void enableManualControls(bool enabled);
    void send();
    void read();
    void showClock(const ClockValues& clock);

    PageOwner* owner_;
    ClockValues toSend_;
    ClockValues read_;
};

}  // namespace q93
