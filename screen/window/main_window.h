#pragma once

#include <QWidget>
#include <string>

#include "screen/pages/page_owner.h"

class QPushButton;
class QTreeWidgetItem;

namespace q93 {

class DeviceConnection;
class EncoderLock;
class LocationTree;
enum class NodeStore;
class MyPropertySheet;

// The one window of the tool: the location tree on the left, the property sheet in the
// middle, the connection and data buttons on the right. Button clicks become transfers with
// the selected encoder; everything runs on this window's thread.
class MainWindow : public QWidget, public PageOwner {
    Q_OBJECT

public:
    // Builds the tree from `root` (LocationData in the working directory by default).
    explicit MainWindow(const std::string& root = "./LocationData/", QWidget* parent = nullptr);
    ~MainWindow() override;

    void Read();
    // Sends the selected node's values to its encoder, after storing them as Save does.
    // Nothing is sent for a node whose pages hold no values meant for it, nor values no page
    // could give unless the user chooses to send them anyway.
    void Update();
    // Stores the selected node's pages and writes its file; false only when the active page
    // refused its values. A file that cannot be written is reported, and counts as saved for
    // Update: the encoder is sent what the pages show.
    bool SaveSelectedNode();
    void ShowPortLog();
    void ShowAboutBox();
    // Dyn. Daten...: the modulation power dialog for the selected encoder.
    void ShowModulationPower();

    // PageOwner: the clock page's two buttons and the Settings page's save.
    void WriteClock() override;
    void ReadClock() override;
    void SaveCurrentNode() override;

    LocationTree* tree() const { return tree_; }
    MyPropertySheet* sheet() const { return sheet_; }
    QPushButton* button(int id) const;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void placeTreeAndSheet();
    void connectButtons();
    void enableNodeButtons(bool enabled);
    // The tree's StoreNode for the selected node, with a file that could not be written
    // reported to the user.
    NodeStore saveNode(bool always);
    // Whether the node's values may go to its encoder: all within what the pages allow, or
    // the user chose to send them anyway.
    bool valuesMayGo(const QTreeWidgetItem* node);
    // The selected node's depth (0 with none), with `connection` set up for its encoder and
    // the encoder's lock taken into `lock` for the transfer; 0 after a warning when another
    // program kept the encoder too long.
    int prepareConnection(DeviceConnection& connection, EncoderLock& lock);

    MyPropertySheet* sheet_;
    LocationTree* tree_;
};

}  // namespace q93
