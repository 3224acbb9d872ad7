#include "screen/pages/property_sheet.h"

#include <QKeyEvent>
#include <cstdio>

#include "protocol/parameter_files.h"
#include "protocol/parameter_set.h"
#include "screen/kit/template_builder.h"
#include "screen/pages/adjust_prop.h"
#include "screen/pages/com_prop.h"
#include "screen/pages/correct_prop.h"
#include "screen/pages/input_prop.h"
#include "screen/pages/limit_prop.h"
#include "screen/pages/location_prop.h"
#include "screen/pages/mod_chk.h"
#include "screen/pages/output_prop.h"
#include "screen/pages/pmode_prop.h"
#include "screen/pages/rtc_prop.h"
#include "screen/pages/test_prop.h"
#include "screen/pages/vetoing_tab_bar.h"

namespace q93 {
namespace {

// Only the presence of the file matters; its content is never read.
bool setupFileAvailable() {
    std::FILE* file = std::fopen("setup.txt", "r");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

}  // namespace

MyPropertySheet::MyPropertySheet(PageOwner* owner, QWidget* parent)
    : QTabWidget(parent),
      input_(new InputProp(params_, this)),
      output_(new OutputProp(params_, this)),
      limiter_(new LimitProp(params_, this)),
      modCheck_(new ModChk(params_, this)),
      mode_(new PModeProp(params_, this)),
      test_(new TestProp(params_, this)),
      settings_(new AdjustProp(owner, params_, this)),
      clock_(new RTCProp(owner, this)),
      interfaces_(new COMProp(owner, params_, this)),
      correction_(new CorrectProp(owner, params_, this)),
      location_(new LocationProp(this)),
      tabs_(new VetoingTabBar(this)) {
    setTabBar(tabs_);
    // The tabs in the pages' font; without scroll buttons the sheet grows to show every
    // tab of a set in full.
    setFont(dialogFont(input_->dialogTemplate()));
    setUsesScrollButtons(false);
    for (QWidget* page :
         std::initializer_list<QWidget*>{input_, output_, limiter_, modCheck_, mode_, test_,
                                         settings_, clock_, interfaces_, correction_, location_}) {
        page->hide();
    }
    connect(this, &QTabWidget::currentChanged, this, &MyPropertySheet::onCurrentChanged);
    connect(tabs_, &VetoingTabBar::tabChangeRequested, this, &MyPropertySheet::setCurrentIndex);
}

void MyPropertySheet::ShowPresetPages() {
    showSet({input_, output_, limiter_, modCheck_, mode_, test_});
}

void MyPropertySheet::ShowDevicePages() {
    std::vector<PropertyPage*> pages{settings_, clock_, interfaces_};
    if (setupFileAvailable()) {
        pages.push_back(correction_);
    }
    showSet(pages);
}

void MyPropertySheet::ShowLocationPage() {
    showSet({location_});
}

void MyPropertySheet::showSet(const std::vector<PropertyPage*>& pages) {
    switching_ = true;
    while (count() > 0) {
        QWidget* page = widget(0);
        removeTab(0);
        page->hide();
    }
    for (PropertyPage* page : pages) {
        addTab(page, page->caption());
        page->OnNewWindow();
    }
    QTabWidget::setCurrentIndex(0);
    switching_ = false;
    activate(0);
}

PropertyPage* MyPropertySheet::activePage() const {
    if (active_ < 0 || active_ >= count()) {
        return nullptr;
    }
    return qobject_cast<PropertyPage*>(widget(active_));
}

void MyPropertySheet::activate(int index) {
    active_ = index;
    if (PropertyPage* page = activePage()) {
        page->ensureBuilt();
        page->OnSetActive();
    }
}

void MyPropertySheet::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || index == currentIndex()) {
        return;
    }
    PropertyPage* leaving = activePage();
    if (leaving != nullptr && !leaving->OnKillActive()) {
        return;
    }
    leftActive_ = true;
    QTabWidget::setCurrentIndex(index);
    leftActive_ = false;
}

void MyPropertySheet::keyPressEvent(QKeyEvent* event) {
    const bool ctrlTab = (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
                         event->modifiers().testFlag(Qt::ControlModifier) && count() > 1;
    if (!ctrlTab) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    const bool back =
        event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
    int index = currentIndex();
    for (int pass = 0; pass < count(); ++pass) {
        index = (index + (back ? count() - 1 : 1)) % count();
        if (tabs_->isTabEnabled(index)) {
            setCurrentIndex(index);
            break;
        }
    }
}

void MyPropertySheet::onCurrentChanged(int index) {
    if (switching_ || index == active_) {
        return;
    }
    // A change that came past setCurrentIndex (QTabWidget's own, through a base pointer)
    // stores the page being left only now, and undoes itself when that page refuses.
    PropertyPage* leaving = leftActive_ ? nullptr : activePage();
    if (leaving != nullptr && !leaving->OnKillActive()) {
        switching_ = true;
        QTabWidget::setCurrentIndex(active_);
        switching_ = false;
        return;
    }
    activate(index);
}

void MyPropertySheet::LoadActivePage() {
    PropertyPage* page = activePage();
    if (page != nullptr && page->hasParameters()) {
        page->ensureBuilt();
        page->LoadFromParams();
    }
}

bool MyPropertySheet::StoreActivePage() {
    PropertyPage* page = activePage();
    if (page == nullptr || !page->hasParameters()) {
        return true;
    }
    return page->StoreToParams();
}

bool MyPropertySheet::ValidateActivePage() {
    PropertyPage* page = activePage();
    return page == nullptr || page->ValidatePage();
}

void MyPropertySheet::ReadDeviceFile(const std::string& path) {
    if (readDeviceFile(path, params_.device) < 0) {
        return;
    }
    LoadActivePage();
}

bool MyPropertySheet::WriteDeviceFile(const std::string& path) {
    if (!StoreActivePage()) {
        return false;
    }
    return writeDeviceFile(path, params_.device);
}

void MyPropertySheet::ReadPresetFile(const std::string& path) {
    if (readPresetFile(path, params_.preset) < 0) {
        return;
    }
    params_.preset.presetNumber = presetNumberFromPath(path);
    LoadActivePage();
}

bool MyPropertySheet::WritePresetFile(const std::string& path) {
    // What is sent to the encoder is what the pages show, so the values go to the parameter
    // set even when the file then cannot be written; the old file stays whole until the new
    // one is complete.
    StoreActivePage();  // only the Settings page can refuse, and it is never in this set
    return writePresetFile(path, params_.preset);
}

}  // namespace q93
