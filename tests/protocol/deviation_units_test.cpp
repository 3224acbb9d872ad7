#include "protocol/deviation_units.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/string_table.h"
#include "protocol/number_format.h"
#include "protocol/parameter_set.h"

namespace q93 {
namespace {

class DeviationUnits : public ::testing::Test {
protected:
    void TearDown() override { setLanguage(Language::German); }
    void use(int unit, double sensitivity) {
        device.levelUnit = unit;
        device.sensitivity40k = sensitivity;
    }

    DeviceParameters device;
};

struct DisplayCase {
    int unit;
    double sensitivity;
    double deviation;
    const char* shown;
};

TEST_F(DeviationUnits, ShowsTheWorkedValues) {
    const DisplayCase cases[] = {
        {1, 0, 40, "0.0"}, {1, 0, 20, "-6.0"}, {1, 6, 40, "6.0"},
        {1, 0, 0, "0.0"},  {0, 0, 20, "20.0"}, {1, 0, -5, "0.0"},
    };
    for (const DisplayCase& c : cases) {
        use(c.unit, c.sensitivity);
        EXPECT_EQ(FormatFixed(DeviationToDisplay(device, c.deviation), 1), c.shown)
            << c.unit << " " << c.sensitivity << " " << c.deviation;
    }
}

TEST_F(DeviationUnits, ConvertsBackToTheSameDeviation) {
    use(1, 0);
    EXPECT_NEAR(DisplayToDeviation(device, -6.0), 20.047, 0.001);
    EXPECT_NEAR(DisplayToDeviation(device, 0.0), 40.0, 1e-9);
    use(0, 6);
    EXPECT_DOUBLE_EQ(DisplayToDeviation(device, -6.0), -6.0);
}

TEST_F(DeviationUnits, RefreshesTheLimitsOnEveryConversion) {
    use(0, 0);
    DeviationToDisplay(device, 1);
    EXPECT_EQ(FormatFixed(deviationAtMinus18dBu, 1), "5.0");
    EXPECT_EQ(FormatFixed(deviationAtMinus6dBu, 1), "20.0");
    EXPECT_EQ(FormatFixed(deviationAtPlus18dBu, 1), "317.7");
    use(0, 6);
    DeviationToDisplay(device, 1);
    EXPECT_EQ(FormatFixed(deviationAtMinus18dBu, 1), "2.5");
}

TEST_F(DeviationUnits, BuildsTheUnitTextsInBothLanguages) {
    use(0, 0);
    setLanguage(Language::English);
    EXPECT_EQ(DeviationUnitText(device, 5.0, 317.68, 110), "kHz ( 5.0 to 317.7 kHz )");
    setLanguage(Language::German);
    EXPECT_EQ(DeviationUnitText(device, 5.0, 20.04, 124), "kHz ( 5.0 bis 20.0 kHz )");
    use(1, 0);
    EXPECT_EQ(DeviationUnitText(device, 5.0, 20.04, 124), "dBu ( -18 bis -6,1dBu )");
    setLanguage(Language::English);
    EXPECT_EQ(DeviationUnitText(device, 5.0, 20.04, 110), "dBu ( -18 to +18 dBu )");
}

}  // namespace
}  // namespace q93
