#include "screen/pages/location_prop.h"

#include <QLabel>

#include "resources/templates/location_template.h"

namespace q93 {

LocationProp::LocationProp(QWidget* parent) : PropertyPage(kLocationTemplate, parent) {}

void LocationProp::ShowDataFolder(const QString& folder, bool hasSites) {
    folder_ = folder;
    hasSites_ = hasSites;
    if (isBuilt())
        showFolder();
}

void LocationProp::InitDialog() {
    auto* folder = controlAs<QLabel>(kDataFolderTextId);
    folder->setWordWrap(true);
    folder->setTextFormat(Qt::PlainText);
    showFolder();
}

void LocationProp::showFolder() {
    controlAs<QLabel>(kDataFolderTextId)->setText(folder_);
    controlAs<QLabel>(kNewSiteHintId)->setVisible(!hasSites_);
}

}  // namespace q93
