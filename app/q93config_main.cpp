// q93config: the desktop tool. German when the desktop's language is German, else English.
#include <QApplication>

#include "app/gui_seam.h"
#include "app/main_window.h"
#include "resources/system_language.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    q93::applySystemLanguage();
    q93::GuiSeam seam;
    q93::MainWindow window;
    seam.setOwner(&window);
    QObject::connect(&window, &q93::MainWindow::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
