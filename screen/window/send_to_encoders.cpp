#include "screen/window/send_to_encoders.h"

#include <QCoreApplication>

#include "base/user_seam.h"
#include "screen/dialogs/send_to_encoders_dialog.h"
#include "screen/window/location_tree.h"
#include "store/name_text.h"
#include "store/stored_blocks.h"

namespace q93 {
namespace {

QString shown(const std::string& name) {
    return QString::fromStdString(nameText(name));
}

// Every encoder of the tree but the source's, site by site as the tree lists them.
std::vector<SendTarget> otherEncoders(LocationTree* tree, QTreeWidgetItem* source) {
    std::vector<SendTarget> targets;
    for (int s = 0; s < tree->topLevelItemCount(); ++s) {
        QTreeWidgetItem* site = tree->topLevelItem(s);
        for (int e = 0; e < site->childCount(); ++e) {
            QTreeWidgetItem* encoder = site->child(e);
            if (encoder == source)
                continue;
            const std::string siteName = LocationTree::folderName(site);
            const std::string encoderName = LocationTree::folderName(encoder);
            targets.push_back({shown(siteName),
                               shown(encoderName),
                               {siteName, encoderName, tree->EncoderFolderPath(encoder), {}},
                               LocationTree::faultOf(encoder)});
        }
    }
    return targets;
}

}  // namespace

std::unique_ptr<SendToEncodersDialog> sendNodeToEncoders(LocationTree* tree,
                                                         QTreeWidgetItem* node) {
    QTreeWidgetItem* encoder = LocationTree::encoderOf(node);
    if (encoder == nullptr || !tree->fileShownEdits())
        return nullptr;
    const std::string folder = tree->EncoderFolderPath(encoder);
    SendSource source;
    std::string name =
        LocationTree::folderName(encoder->parent()) + "/" + LocationTree::folderName(encoder);
    std::string error;
    bool read = false;
    if (LocationTree::NodeDepth(node) == 3) {
        source.preset = presetNumberFromLabel(LocationTree::folderName(node));
        name += "/" + presetLabel(source.preset);
        read = readStoredPreset(folder, source.preset, source.presetValues, &error);
        // Its levels are shown in the device's units where there is a device.dat.
        std::string noDevice;
        if (!readStoredDevice(folder, source.deviceValues, &noDevice))
            source.deviceValues = DeviceParameters{};
    } else {
        read = readStoredDevice(folder, source.deviceValues, &error);
    }
    if (!read) {
        showWarning(QCoreApplication::translate("q93::SendToEncoders",
                                                "%1 has no values to send: %2. Read it from "
                                                "the encoder or save it first.")
                        .arg(shown(name), QString::fromStdString(error))
                        .toStdString());
        return nullptr;
    }
    source.name = shown(name);
    return std::make_unique<SendToEncodersDialog>(source, otherEncoders(tree, encoder),
                                                  tree->window());
}

}  // namespace q93
