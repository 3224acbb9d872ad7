// q93config: the desktop tool. German when the desktop's language is German, else English.
#include <QApplication>

#include "app/gui_seam.h"
#include "app/main_window.h"
#include "app/ui_translations.h"
#include "base/string_table.h"
#include "resources/system_language.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
