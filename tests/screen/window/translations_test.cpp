#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <functional>
#include <map>

#include "screen/dialogs/connection_dialog.h"
#include "screen/dialogs/port_log_window.h"
#include "screen/display/modulation_power_dialog.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/ui_translations.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/support/config_home.h"

namespace q93::test {
namespace {

// Where a user reads a text: a window, or a menu or dialog opened from one.
enum class Place {
    MainWindow,
    WindowMenu,
    TreeMenu,
    NameDialog,
    ConnectionDialog,
    PortEditMenu,
    PortLog,
    SaveDialog,
    ModulationDialog,
};

struct ShownText {
    Place place;
    const char* english;
    const char* german;
};

// The texts the Linux version adds (menus, shortcuts, the save dialog), and a few of the
// templates' beside them. A text that is the same in both languages stays so.
const ShownText kShown[] = {
    {Place::MainWindow, "Q93 Config V1.26", "Q93 Config V1.26"},
    {Place::MainWindow, "Read", "Auslesen"},
    {Place::WindowMenu, "Dyn. Daten...\tCtrl+D", "Dyn. Daten...\tStrg+D"},
    {Place::WindowMenu, "Inf&o about Q93Config...\tF1", "Inf&o uber Q93Config...\tF1"},
    {Place::MainWindow, "Location data:", "Standortdaten:"},
    {Place::MainWindow, "Right-click: New site...", "Rechte Maustaste: Neuer Standort..."},
    {Place::TreeMenu, "New site...", "Neuer Standort..."},
    {Place::TreeMenu, "New encoder...", "Neuer Encoder..."},
    {Place::TreeMenu, "Rename...", "Umbenennen..."},
    {Place::TreeMenu, "Remove...", "Entfernen..."},
    {Place::TreeMenu, "Properties...", "Eigenschaften..."},
    {Place::TreeMenu, "Compare with encoder...", "Mit Gerät vergleichen..."},
    {Place::TreeMenu, "Send to other encoders...", "An andere Encoder senden..."},
    {Place::NameDialog, "New site", "Neuer Standort"},
    {Place::NameDialog, "Name of the new site:", "Name des neuen Standorts:"},
    {Place::NameDialog, "Cancel", "Abbrechen"},
    {Place::ConnectionDialog, "Generator Properties", "Encoder Eigenschaften"},
    {Place::PortEditMenu, "&Paste\tCtrl+V", "Einf&ügen\tStrg+V"},
    {Place::PortEditMenu, "Select All\tCtrl+A", "Alles auswählen\tStrg+A"},
    {Place::PortLog, "Port Log", "Port Log"},
    {Place::SaveDialog, "Save As", "Speichern unter"},
    {Place::SaveDialog, "&Save", "S&peichern"},
    {Place::SaveDialog, "Cancel", "Abbrechen"},
    {Place::SaveDialog, "Files of type:", "Dateien des Typs:"},
    {Place::SaveDialog, "Alle Dateien (*.*)", "Alle Dateien (*.*)"},
    {Place::ModulationDialog, "Modulationsleistung", "Modulationsleistung"},
};

QString actionText(const QAction* action) {
    QString text = action->text();
    if (!action->shortcut().isEmpty())
        text += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::NativeText);
    return text;
}

// Every text of `root` and its children a user can read: titles, labels, buttons, tabs, list
// items, menu items with their shortcuts, tool tips.
QStringList shownTexts(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    QStringList texts;
    for (const QWidget* widget : widgets) {
        if (widget->isWindow())
            texts << widget->windowTitle();
        texts << widget->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            texts << group->title();
        if (const auto* tabs = qobject_cast<const QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        if (const auto* list = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        for (const QAction* action : widget->actions())
            texts << actionText(action) << action->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

// What the menu or dialog that `open` shows holds, read from the event loop it runs; then
// it is closed as Escape would.
QStringList textsOfWhatOpens(const std::function<void()>& open) {
    QStringList texts;
    bool read = false;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        if (shown == nullptr)
            shown = QApplication::activeModalWidget();
        if (shown == nullptr)
            return;
        texts = shownTexts(shown);
        read = true;
        shown->close();
    });
    open();
    // A menu that pops up without a loop of its own is read from this one.
    for (int turn = 0; turn < 100 && !read; ++turn)
        QCoreApplication::processEvents();
    EXPECT_TRUE(read) << "nothing opened";
    return texts;
}

void sendContextMenu(QWidget* widget) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &event);
}

// The start-up's order: the templates' language first, then the translations it chose.
Language chooseLanguage(Language language) {
    setLanguage(language);
    return currentLanguage();
}

class Translations : public MainWindowTest, public ::testing::WithParamInterface<Language> {
protected:
    std::map<Place, QStringList> openEveryPlace();

    UiTranslations translations{chooseLanguage(GetParam())};
    ConfigHome home;  // where the save dialog keeps its history
};

std::map<Place, QStringList> Translations::openEveryPlace() {
    std::map<Place, QStringList> shown;
    encoderFolder("Funkhaus", "StudioA", tcpText(1));
    LocationTree* tree = window().tree();
    tree->expandAll();
    shown[Place::MainWindow] = shownTexts(&window());
    shown[Place::WindowMenu] = textsOfWhatOpens([&] { sendContextMenu(&window()); });
    shown[Place::TreeMenu] = textsOfWhatOpens([&] {
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                          tree->visualItemRect(node(0, 0)).center());
    });

    shown[Place::NameDialog] = textsOfWhatOpens([&] { tree->NewSite(); });

    ConnectionDialog connection(ConnectionSettings{});
    connection.show();
    shown[Place::ConnectionDialog] = shownTexts(&connection);
    shown[Place::PortEditMenu] =
        textsOfWhatOpens([&] { sendContextMenu(connection.tcpPortEdit()); });

    PortLogWindow portLog;
    portLog.showAndLog();
    shown[Place::PortLog] = shownTexts(&portLog);
    shown[Place::SaveDialog] = textsOfWhatOpens([&] { portLog.saveButton()->click(); });

    ModulationPowerDialog modulation(ConnectionSettings{});
    modulation.show();
    shown[Place::ModulationDialog] = shownTexts(&modulation);
    return shown;
}

TEST_P(Translations, EveryPlaceShowsTheChosenLanguage) {
    const bool german = GetParam() == Language::German;
    EXPECT_EQ(translations.toolTextsLoaded(), german);
    EXPECT_EQ(translations.qtTextsLoaded(), german);
    const std::map<Place, QStringList> shown = openEveryPlace();
    for (const ShownText& text : kShown) {
        const QString expected = QString::fromUtf8(german ? text.german : text.english);
        EXPECT_TRUE(shown.at(text.place).contains(expected))
            << expected.toStdString()
            << " not in: " << shown.at(text.place).join(QStringLiteral(" | ")).toStdString();
    }
    if (!german)
        return;
    // No English text is left anywhere, in the places it belongs to or any other.
    for (const ShownText& text : kShown) {
        if (QString::fromUtf8(text.english) == QString::fromUtf8(text.german))
            continue;
        for (const auto& [place, texts] : shown)
            EXPECT_FALSE(texts.contains(QString::fromUtf8(text.english)))
                << text.english << " shown in German, place " << static_cast<int>(place);
    }
}

TEST_P(Translations, AFileThatWasNotSavedIsToldInTheChosenLanguage) {
    const std::string folder = encoderFolder("Funkhaus", "StudioA", tcpText(1));
    std::filesystem::create_directory(folder + "device.dat");  // cannot be replaced by a file
    ASSERT_TRUE(select(node(0, 0)));
    ASSERT_TRUE(window().SaveSelectedNode());
    const std::string start = GetParam() == Language::German
                                  ? "Die Datei './LocationData/Funkhaus/StudioA/device.dat' "
                                    "wurde nicht gespeichert: "
                                  : "The file './LocationData/Funkhaus/StudioA/device.dat' "
                                    "was not saved: ";
    ASSERT_EQ(seam.warnings.size(), 1u);
    EXPECT_EQ(seam.warnings[0].substr(0, start.size()), start);
}

INSTANTIATE_TEST_SUITE_P(Languages, Translations,
                         ::testing::Values(Language::German, Language::English),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::German ? "German" : "English";
                         });

}  // namespace
}  // namespace q93::test
