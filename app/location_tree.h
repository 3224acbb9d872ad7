#pragma once

#include <QTreeWidget>
#include <functional>
#include <string>

#include "app/location_store.h"

class QMenu;

namespace q93 {

class MyPropertySheet;
class VetoingSelectionModel;

// What storing a node came to.
enum class NodeStore {
    Skipped,  // no file to write: a site, or a node nothing was meant for (see StoreNode)
    Refused,  // the active page refused its values (the Settings page's check)
    Written,
    Failed,  // the file could not be written; the values did reach the parameter set
};

// The sites, encoders and presets under LocationData, built once at start-up. Selecting a
// node reads its files into the parameter set and shows its page set; leaving a node writes
// what the pages hold. Every path is built from the folder names kept with the nodes, as the
// bytes the directory listing gave, never from the labels, which also show the port and
// show the name decoded. A node whose file does not exist shows greyed. The tree asks before the
// selection moves (see VetoingSelectionModel); ask its selection model, not the items, what is
// selected, and the model's currentChanged, not currentItemChanged, when the current node changed.
class LocationTree : public QTreeWidget {
    Q_OBJECT

public:
    LocationTree(MyPropertySheet* sheet, QWidget* parent = nullptr);

    // Lists the folders under `root` and fills the tree; every encoder's tcp.txt is read.
    void Build(const std::string& root = kLocationRoot);

    // 1 site, 2 encoder, 3 preset; 0 for no node.
    static int NodeDepth(const QTreeWidgetItem* node);
    // The encoder a node belongs to (itself, or a preset's parent); nullptr for a site.
    static QTreeWidgetItem* encoderOf(QTreeWidgetItem* node);
    std::string EncoderFolderPath(const QTreeWidgetItem* encoder) const;
    // Preset-n.dat of a preset node, device.dat of an encoder node; empty for a site.
    std::string nodeFilePath(const QTreeWidgetItem* node) const;

    // Takes the active page's values into the parameter set and writes the node's file, unless
    // the page refuses. With `always` false (leaving the node, closing the window, leaving the
    // Settings page) a node whose file did not exist when it was selected gets one only when
    // a page value changed meanwhile or a Read filled it: its pages show the values of the
    // node shown before, which nobody meant for it. On Failed, *reason says why.
    NodeStore StoreNode(QTreeWidgetItem* node, bool always, std::string* reason = nullptr);
    // A Read filled the parameter set for the selected node.
    void NoteReadFilled();
    // Whether the node's file existed when it was last looked at (false for a site).
    static bool hasStoredFile(const QTreeWidgetItem* node);

    // tcp.txt of the node's encoder into the current settings: 0, or -1.
    int ReadConnectionSettings(QTreeWidgetItem* node);
    const ConnectionSettings& currentSettings() const { return current_; }

    // The Properties command: the connection dialog for the selected encoder.
    void ShowProperties();

    // Called with true when the selection arrives at an encoder or preset, false at a site.
    std::function<void(bool)> onNodeButtons;
    // Adds the entries of other rooms to the context menu of a node (nullptr: empty space).
    std::function<void(QMenu&, QTreeWidgetItem*)> addMenuEntries;
    // Runs the connection dialog; replaced by tests. Returns whether it ended with OK.
    std::function<bool(ConnectionSettings&, QWidget*)> runConnectionDialog;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool selectionAboutToChange(QTreeWidgetItem* leaving);
    void selectionChanged(QTreeWidgetItem* arrived);
    void readNodeFiles(QTreeWidgetItem* node);
    void showPageSetFor(QTreeWidgetItem* node);
    void showContextMenu(QTreeWidgetItem* node);
    void lookForStoredFile(QTreeWidgetItem* node);
    void showStored(QTreeWidgetItem* node, bool stored);
    std::string nodeBlock(const QTreeWidgetItem* node) const;
    bool meantForFile(const QTreeWidgetItem* node) const;

    // What leaving the node handled last must know of its time as the selected node.
    struct Visit {
        bool hadFile = false;     // its file existed at arrival, or was written since
        bool readFilled = false;  // a Read filled the parameter set meanwhile
        std::string arrivedWith;  // its block as the selection arrived, in stored form
    };

    MyPropertySheet* sheet_;
    VetoingSelectionModel* selection_;
    std::string root_ = kLocationRoot;
    ConnectionSettings current_;
    QTreeWidgetItem* lastHandled_ = nullptr;
    int lastImage_ = -1;
    Visit visit_;
};

}  // namespace q93
