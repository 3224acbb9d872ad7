#pragma once

#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

#include "store/location_store.h"

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
    // The node's folder name, as the bytes the listing gave (a preset's label).
    static std::string folderName(const QTreeWidgetItem* node);
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
    // Whether the pages hold values meant for the node: its file existed when it was
    // selected or was written since, or a Read filled them. Without, they are what the node
    // shown before left behind (or zeros), which must not reach its encoder.
    bool holdsValuesFor(const QTreeWidgetItem* node) const;
    // Files the shown node's edits as leaving it would, before a command that works from the
    // stored files; false when the page refused them or the file could not be written.
    bool fileShownEdits() { return storeAsLeaving(currentItem()); }
    // Whether the node's file existed when it was last looked at (false for a site).
    static bool hasStoredFile(const QTreeWidgetItem* node);

    // tcp.txt of the node's encoder into the current settings: 0, or -1.
    int ReadConnectionSettings(QTreeWidgetItem* node);
    // The same for a transfer (the Read, Update, clock and Dyn. Daten commands): empty when
    // it may go ahead, else why not, as the window says it; a tcp.txt that cannot be read or
    // is doubtful is refused as q93ctl refuses it (ReadTransferSettings). The node's
    // greying follows what was found.
    QString transferRefusal(QTreeWidgetItem* node);

    // Why LocationData itself could not be listed at the last Build, empty when it could.
    const std::string& unlistedReason() const { return unlisted_; }
    // Why a site or encoder node shows greyed as unreadable (or, for an encoder, doubtful),
    // as its tooltip says; empty when it is not.
    static QString faultOf(const QTreeWidgetItem* node);
    // A site node whose folder could not be listed: its encoders are unknown.
    static bool isUnlistedSite(const QTreeWidgetItem* node);
    const ConnectionSettings& currentSettings() const { return current_; }

    // The Properties command: the connection dialog for the selected encoder.
    void ShowProperties();

    // The folder commands of the context menu (tree_menu.h). Each asks for what it needs (a
    // name, a yes) and refuses with a message; Rename and Remove file the selected node's edits
    // first, as leaving it would. `node` is the node the menu was opened on.
    void NewSite();
    // An encoder in the site of `node` (a site, an encoder or a preset); its tcp.txt comes
    // from the connection dialog, and nothing is made when that is cancelled.
    void NewEncoder(QTreeWidgetItem* node);
    // A site or an encoder: its folder renamed, the node kept in its place.
    void RenameNode(QTreeWidgetItem* node);
    // A site or an encoder: its folder moved into the desktop's trash, after asking.
    void RemoveNode(QTreeWidgetItem* node);

    // Called with true when the selection arrives at an encoder or preset, false at a site.
    std::function<void(bool)> onNodeButtons;
    // Runs the connection dialog; replaced by tests. Returns whether it ended with OK.
    std::function<bool(ConnectionSettings&, QWidget*)> runConnectionDialog;

    // The full path of the folder the tree shows, as the Location page names it.
    QString dataFolderText() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The menu asked for with the keyboard (the Menu key; Shift+F10 in keyPressEvent) acts on
    // the selected node, as a right-click on it does.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool selectionAboutToChange(QTreeWidgetItem* leaving);
    // Stores the node as leaving it does; false when the selection would have to stay.
    bool storeAsLeaving(QTreeWidgetItem* leaving);
    // Drops the selection without storing: its node's folder is gone.
    void forgetSelection();
    QTreeWidgetItem* addSiteNode(const std::string& name);
    QTreeWidgetItem* addEncoderNode(QTreeWidgetItem* site, const EncoderFolder& encoder);
    // Gives a site or encoder node a new folder name, and the label that follows from it.
    void renameNode(QTreeWidgetItem* node, const std::string& name);
    void showWhereDataIs();
    std::string parentFolderOf(const QTreeWidgetItem* node) const;
    // Whether `name` may be made in `parentFolder`; says why not.
    bool acceptsNewName(const std::string& parentFolder, const std::string& name);
    void selectionChanged(QTreeWidgetItem* arrived);
    void readNodeFiles(QTreeWidgetItem* node);
    void showPageSetFor(QTreeWidgetItem* node);
    // The context menu for `node` (nullptr: empty space) at `at`, on the screen; runs the
    // command chosen.
    void showContextMenu(QTreeWidgetItem* node, const QPoint& at);
    void showKeyboardContextMenu();
    void lookForStoredFile(QTreeWidgetItem* node);
    void showStored(QTreeWidgetItem* node, bool stored);
    // Greys a node that cannot be read or is doubtful, `fault` saying why in its tooltip;
    // an empty `fault` takes that back.
    void showFault(QTreeWidgetItem* node, const QString& fault);
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
    std::string unlisted_;
    ConnectionSettings current_;
    QTreeWidgetItem* lastHandled_ = nullptr;
    int lastImage_ = -1;
    Visit visit_;
    bool forgetting_ = false;
};

}  // namespace q93
