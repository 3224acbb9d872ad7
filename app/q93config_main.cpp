// q93config: the desktop tool. German when the desktop's language is German, else English.
#include <QApplication>
#include <cstdio>

#include "base/held_signals.h"
#include "base/string_table.h"
#include "screen/dialogs/gui_seam.h"
#include "screen/kit/system_language.h"
#include "screen/kit/ui_translations.h"
#include "screen/window/main_window.h"
#include "store/working_folder.h"

int main(int argc, char** argv) {
    q93::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    // The toolkit has taken its own options out of argv; what is left is the tool's.
    std::string message;
    switch (q93::enterWorkingFolder(std::vector<std::string>(argv + 1, argv + argc), &message)) {
        case q93::StartRequest::Help:
            std::fputs(message.c_str(), stdout);
            return 0;
        case q93::StartRequest::Refused:
            std::fputs(message.c_str(), stderr);
            return 2;
        case q93::StartRequest::Run:
            break;
    }
    q93::applySystemLanguage();
    // The language the templates and the string table were just given, and no other.
    const q93::UiTranslations translations(q93::currentLanguage());
    q93::GuiSeam seam;
    q93::MainWindow window;
    seam.setOwner(&window);
    QObject::connect(&window, &q93::MainWindow::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
