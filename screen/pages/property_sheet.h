#pragma once

#include <QTabWidget>
#include <string>
#include <vector>

#include "protocol/parameter_set.h"

namespace q93 {

class PageOwner;
class PropertyPage;
class InputProp;
class OutputProp;
class LimitProp;
class ModChk;
class PModeProp;
class TestProp;
class AdjustProp;
class RTCProp;
class COMProp;
class CorrectProp;
class LocationProp;
class VetoingTabBar;

// The sheet beside the location tree. It owns the window's parameter set and one page of
// every kind for its whole life, each page working on that set, and shows one of three sets: the
// preset pages, the device pages or the Location page. A page loads its controls when it becomes
// active and stores them when the user leaves it; the Settings page can refuse to be left.
class MyPropertySheet : public QTabWidget {
    Q_OBJECT

public:
    explicit MyPropertySheet(PageOwner* owner, QWidget* parent = nullptr);

    void ShowPresetPages();
    // The Correction values page joins only while setup.txt can be opened in the working
    // directory at this moment.
    void ShowDevicePages();
    void ShowLocationPage();

    void LoadActivePage();
    // True when the page has no store.
    bool StoreActivePage();
    bool ValidateActivePage();

    // Reading: a file that cannot be opened leaves parameters and controls as they were.
    void ReadDeviceFile(const std::string& path);
    // False, leaving the file untouched, when the active page refuses its store; false
    // when the file cannot be written.
    bool WriteDeviceFile(const std::string& path);
    // The preset number comes from the file's name, whatever the file holds.
    void ReadPresetFile(const std::string& path);
    // The active page stores first, so its values reach the parameter set whether or not
    // the file can be written; false when it cannot (the old file stays as it was).
    bool WritePresetFile(const std::string& path);

    PropertyPage* activePage() const;

    // What the pages show and store, what the files and transfers of the selected node move.
    ParameterSet& parameters() { return params_; }

    // Selects the tab at `index` the way a click on it does: the page being left stores
    // first and may refuse, and then the sheet stays where it is without ever showing the
    // other page. Hides QTabWidget::setCurrentIndex, which would switch first.
    void setCurrentIndex(int index);

    InputProp* inputPage() const { return input_; }
    OutputProp* outputPage() const { return output_; }
    LimitProp* limiterPage() const { return limiter_; }
    ModChk* modCheckPage() const { return modCheck_; }
    PModeProp* modePage() const { return mode_; }
    TestProp* testPage() const { return test_; }
    AdjustProp* settingsPage() const { return settings_; }
    RTCProp* clockPage() const { return clock_; }
    COMProp* interfacesPage() const { return interfaces_; }
    CorrectProp* correctionPage() const { return correction_; }
    LocationProp* locationPage() const { return location_; }

protected:
    // Ctrl+Tab and Ctrl+Shift+Tab ask the page being left, as a click does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showSet(const std::vector<PropertyPage*>& pages);
    void activate(int index);
    void onCurrentChanged(int index);

    // Before the pages, which keep a reference to it.
    ParameterSet params_;
    InputProp* input_;
    OutputProp* output_;
    LimitProp* limiter_;
    ModChk* modCheck_;
    PModeProp* mode_;
    TestProp* test_;
    AdjustProp* settings_;
    RTCProp* clock_;
    COMProp* interfaces_;
    CorrectProp* correction_;
    LocationProp* location_;
    VetoingTabBar* tabs_;

    // The page whose load ran last; it stays the active one until its store succeeded.
    int active_ = -1;
    // Set while the sheet itself changes tabs, so that no load or store runs for it.
    bool switching_ = false;
    // Set while a tab change runs whose page being left has already stored and agreed.
    bool leftActive_ = false;
};

}  // namespace q93
