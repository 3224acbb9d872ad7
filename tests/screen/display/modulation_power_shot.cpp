// Opens the modulation power dialog on its own, polling one encoder, and saves a PNG of it:
//   modulation_power_shot --ip 127.0.0.1 --tcp-port 5093 --out dialog.png [--seconds 4]
//   modulation_power_shot --port COM5 --speed 5 --ack 1 --out dialog.png
// For screenshots; runs under a real display or QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/user_seam.h"
#include "screen/display/modulation_power_dialog.h"

namespace {

class QuietSeam : public q93::UserSeam {
public:
    void showWarning(const std::string& text) override {
        std::fprintf(stderr, "modulation_power_shot: %s\n", text.c_str());
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    q93::ConnectionSettings encoder;
    encoder.portName = "TCP/IP";
    encoder.ipAddress = "127.0.0.1";
    QString out = QStringLiteral("modulation-power.png");
    int seconds = 4;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--ip") {
            encoder.ipAddress = value;
        } else if (name == "--tcp-port") {
            encoder.tcpPort = value;
        } else if (name == "--port") {
            encoder.portName = value;
        } else if (name == "--speed") {
            encoder.speedIndex = std::atoi(value.c_str());
        } else if (name == "--ack") {
            encoder.readAck = std::atoi(value.c_str());
        } else if (name == "--out") {
            out = QString::fromStdString(value);
        } else if (name == "--seconds") {
            seconds = std::atoi(value.c_str());
        } else {
            std::fprintf(stderr, "modulation_power_shot: unknown option %s\n", name.c_str());
            return 2;
        }
    }
    QuietSeam seam;
    q93::installUserSeam(&seam);
    q93::ModulationPowerDialog dialog(encoder);
    bool saved = false;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.start(); });
    QTimer::singleShot(seconds * 1000, &dialog, [&] {
        saved = dialog.grab().save(out);
        dialog.reject();
    });
    dialog.exec();
    q93::installUserSeam(nullptr);
    if (!saved) {
        std::fprintf(stderr, "modulation_power_shot: could not save %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
