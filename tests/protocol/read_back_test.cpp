#include "protocol/read_back.h"

#include <gtest/gtest.h>

#include <limits>

namespace q93 {
namespace {

// What a read back may differ in without the encoder holding anything else, and what it may
// not.
TEST(ReadBack, NamesTheFieldsTheEncoderDoesNotHoldAsTheWireCarriesThem) {
    PresetParameters sent;
    sent.pilotLevel = 6.1;  // no float holds 6.1 exactly
    sent.mpxGain = std::numeric_limits<double>::quiet_NaN();
    sent.preemphasis = 2;
    sent.presetNumber = 3;

    PresetParameters held = sent;
    held.pilotLevel = static_cast<float>(6.1);  // as the frames bring it back
    held.presetNumber = 7;                      // never sent: the command addresses the preset
    EXPECT_TRUE(presetFieldsNotHeld(sent, held).empty());

    held.pilotLevel = 6.75;
    held.preemphasis = 1;
    const std::vector<FieldNotHeld> fields = presetFieldsNotHeld(sent, held);
    EXPECT_EQ(notHeldText(fields),
              "the encoder does not hold what was sent: pilotLevel sent 6.1 holds 6.75, "
              "preemphasis sent 2 holds 1");

    DeviceParameters device;
    DeviceParameters clamped = device;
    clamped.correctionValues[0] = 99;  // never sent
    EXPECT_TRUE(deviceFieldsNotHeld(device, clamped).empty());
    clamped.sensitivity40k = 6;
    ASSERT_EQ(deviceFieldsNotHeld(device, clamped).size(), 1u);
    EXPECT_EQ(deviceFieldsNotHeld(device, clamped)[0].text(), "sensitivity40k sent 0 holds 6");
}

}  // namespace
}  // namespace q93
