#include <gtest/gtest.h>

#include "serial/comm_errors.h"
#include "serial/comm_port.h"

namespace q93::serial {
namespace {

// A port implementation that fills none of the slots.
class UnfilledPort : public CommPort {};

TEST(CommPortDeathTest, AnUnfilledSlotStopsTheProgramWithTheLibraryMessage) {
    EXPECT_EXIT(
        {
            UnfilledPort port;
            port.readChar();
        },
        ::testing::ExitedWithCode(1),
        "Pure Virtual function called @.*comm_port\\.h,[0-9]+\nUnable to continue execution");
}

TEST(CommPort, ExtensionSlotsAnswerUnsupported) {
    UnfilledPort port;
    EXPECT_EQ(port.extensionOne(), CL_ERR_UNSUPPORTED);
    EXPECT_EQ(port.extensionTwo(), CL_ERR_UNSUPPORTED);
    EXPECT_EQ(port.takeLastError(), 0);
}

}  // namespace
}  // namespace q93::serial
