#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <thread>

#include "base/frame_log.h"
#include "link/tcp_link.h"
#include "screen/dialogs/port_log_window.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

using test::Bytes;

QString entryOf(const char* prefix, const Bytes& frame) {
    QString entry = QString::fromLatin1(prefix);
    for (std::uint8_t byte : frame)
        entry += QString::asprintf("%02X ", byte);
    return entry;
}

// A TCP exchange on a worker, as the measurement thread runs it, while the GUI thread waits
// for that worker without running its event loop: the worker must not wait for it in turn.
TEST(PortLogFromAWorker, ArrivesInOrderWhileTheGuiThreadJoinsTheWorker) {
    test::RecordingSeam seam;
    const Bytes request = test::encoderFrame({0x2D, 0x03, 0x4D, 0x49, 0x20}, 1);
    const Bytes answer = test::encoderFrame({0x18, 0x00}, 1);
    test::LoopbackServer server([&](const Bytes&) { return answer; });
    PortLogWindow window;
    // Hidden without the close box, so logging stays on but nothing is painted: Qt hands
    // painting work to a thread pool whose locks ThreadSanitizer cannot see.
    window.showAndLog();
    window.hide();
    bool answeredOnce = false;
    std::thread worker([&] {
        TcpLink link;
        if (link.open("", "127.0.0.1", server.port()) != 0)
            return;
        link.sendFrame(request.data(), static_cast<int>(request.size()));
        std::uint8_t buffer[kTcpFrameCapacity];
        int length = 0;
        answeredOnce =
            link.receiveFrame(buffer, length) == 0 && link.receiveFrame(buffer, length) != 0;
    });
    worker.join();
    EXPECT_TRUE(answeredOnce);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.entries().size() == 3; }, 10000));
    EXPECT_EQ(window.entries(),
              (QStringList{entryOf("-> ", request), entryOf("<- ", answer), "<- "}));

    // A frame of the GUI thread after a worker's that has not reached the list yet.
    const std::uint8_t theirs[] = {0xFE, 0x55, 0xFF};
    const std::uint8_t own[] = {0xFE, 0xAA, 0xFF};
    std::thread(logFrame, theirs, 3, kFrameReceived).join();
    logFrame(own, 3, kFrameSent);
    EXPECT_EQ(window.entries().mid(3), (QStringList{"<- FE 55 FF ", "-> FE AA FF "}));
    EXPECT_EQ(window.entryList()->currentRow(), 4);
}

}  // namespace
}  // namespace q93
