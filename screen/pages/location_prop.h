#pragma once

#include <QString>

#include "screen/pages/property_page.h"

namespace q93 {

// The page of a site, or of no node: no parameters, but the LocationData folder the tool
// works in, and while that has no site, how to make one.
class LocationProp : public PropertyPage {
    Q_OBJECT

public:
    explicit LocationProp(QWidget* parent = nullptr);

    bool hasParameters() const override { return false; }

    // `folder` as the full path; the hint shows while `hasSites` is false.
    void ShowDataFolder(const QString& folder, bool hasSites);

protected:
    void InitDialog() override;

private:
    void showFolder();

    QString folder_;
    bool hasSites_ = false;
};

}  // namespace q93
