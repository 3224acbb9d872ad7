#pragma once

#include <QString>
#include <QWidget>
#include <map>
#include <optional>

#include "resources/dialog_template.h"
#include "screen/kit/template_builder.h"

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

    // Run each time the sheet adds the page to a set. A page shown again then starts with a
    // new window, so what only the window holds (not the parameters) starts afresh.
    virtual void OnNewWindow() {}

    // Builds the controls on first use and runs InitDialog once.
    void ensureBuilt();
    bool isBuilt() const { return built_; }

    // The control with a template id as a T, or nullptr when the page has none of that kind.
    template <typename T = QWidget>
    T* controlAs(int id) const {
        return q93::control<T>(this, id);
    }

protected:
    // Character sets, lengths and list contents that the page sets once its controls exist.
    virtual void InitDialog() {}

    // A numeric edit remembers what its page loaded into it. While it still shows that text,
    // storing it gives back the exact parameter value behind the text rather than the value
    // parsed from its rounded or converted form, so that merely visiting a page changes no
    // setting. `exact` empty: the text stands for no value of its own (a display clamped to
    // its lowest level) and is parsed like an edited one.
    void ShowNumber(int id, double shown, int decimals, std::optional<double> exact);
    void ShowNumber(int id, double value, int decimals) { ShowNumber(id, value, decimals, value); }
    // What to store from edit `id`: the exact loaded value while the text is the loaded one,
    // else `parsed`, the edited text as the page parses and converts it.
    double StoredNumber(int id, double parsed) const;
    // StoredNumber with the edit's text rounded to `decimals`.
    double StoredRounded(int id, int decimals) const;
    // Whether edit `id` still shows the text its page loaded into it.
    bool ShowsLoadedText(int id) const;

    // A value no page can show (not a number, infinite; an index beyond its list) shows as an
    // empty control in red, and is stored back unchanged until the user gives a value: the
    // page keeps the doubt for the range check before a send to name, and never turns it
    // into a value of its own.
    // The list shows the entry of `value`, its entries standing for `first`, `first` + 1...;
    // StoredListIndex gives the value of the entry chosen, or the loaded value while none is.
    void ShowListIndex(int id, int value, int first = 0);
    int StoredListIndex(int id, int first = 0) const;

private:
    struct LoadedNumber {
        QString text;
        std::optional<double> exact;
    };

    const DialogTemplate& dialog_;
    std::map<int, LoadedNumber> loaded_;
    std::map<int, int> loadedLists_;
    bool built_ = false;
};

}  // namespace q93
