#pragma once

#include <QTreeWidget>
#include <functional>
#include <string>

#include "app/location_store.h"

namespace q93 {

class MyPropertySheet;
class VetoingSelectionModel;

// The sites, encoders and presets under LocationData, built once at start-up. Selecting a
// node reads its files into the parameter set and shows its page set; leaving a node writes
// what the pages hold. Every path is built from the folder names kept with the nodes, never
// from the labels, which also show the port. The tree asks before the selection moves (see
// VetoingSelectionModel); ask its selection model, not the items, what is selected, and
// the model's currentChanged, not currentItemChanged, when the current node changed.
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

    // tcp.txt of the node's encoder into the current settings: 0, or -1.
    int ReadConnectionSettings(QTreeWidgetItem* node);
    const ConnectionSettings& currentSettings() const { return current_; }

    // The Properties command: the connection dialog for the selected encoder.
    void ShowProperties();

    // Called with true when the selection arrives at an encoder or preset, false at a site.
    std::function<void(bool)> onNodeButtons;
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

    MyPropertySheet* sheet_;
    VetoingSelectionModel* selection_;
    std::string root_ = kLocationRoot;
    ConnectionSettings current_;
    QTreeWidgetItem* lastHandled_ = nullptr;
    int lastImage_ = -1;
};

}  // namespace q93
