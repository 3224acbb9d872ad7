#pragma once

#include <QString>
#include <QWidget>
#include <map>

#include "resources/dialog_template.h"

namespace q93 {

// One page of the property sheet, built from its dialog template. Pages copy values between
// their controls and the process-wide parameter set and never touch the device or files.
class PropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit PropertyPage(const DialogTemplate& dialog, QWidget* parent = nullptr);

    // The page's caption in the user's language.
    QString caption() const;
    const DialogTemplate& dialogTemplate() const { return dialog_; }
    // The dialog's size from its template, whether or not the controls exist yet.
    QSize sizeHint() const override { return minimumSize(); }

    // Whether the page has a load and store at all (the clock and Location pages have none).
    virtual bool hasParameters() const { return true; }
    virtual void LoadFromParams() {}
    // Only the Settings page can refuse; every other page always succeeds.
    virtual bool StoreToParams() { return true; }
    // The save-direction data exchange run before sending to the device.
    virtual bool ValidatePage() { return true; }

    // What the sheet runs when the page becomes active: the load. A page with more to do
    // on activation overrides it.
    virtual void OnSetActive() { LoadFromParams(); }
    // What the sheet runs when the user leaves the page for another tab: the store, whose
    // failure keeps the page active. Unlike StoreToParams this is never called for a file
    // write, so a page may reach its owner here (the Settings page saves the node).
    virtual bool OnKillActive() { return StoreToParams(); }

    // Builds the controls on first use and runs InitDialog once.
    void ensureBuilt();
    bool isBuilt() const { return built_; }

    // The control with a template id, or nullptr when it has none.
    QWidget* control(int id) const;
    template <typename T>
    T* controlAs(int id) const {
        return qobject_cast<T*>(control(id));
    }

protected:
    // Character sets, lengths and list contents that the page sets once its controls exist.
    virtual void InitDialog() {}

private:
    const DialogTemplate& dialog_;
    std::map<int, QWidget*> controls_;
    bool built_ = false;
};

}  // namespace q93
