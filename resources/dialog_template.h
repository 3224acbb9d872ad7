#pragma once

#include <span>

namespace q93 {

// What a control of a dialog template is; the builder maps each kind to a Qt widget.
enum class ControlKind {
    GroupBox,
    Label,        // static text, left-aligned
    LabelRight,   // static text, right-aligned
    LabelCenter,  // static text, centred
    Edit,         // plain line edit
    MaskEdit,     // filtered line edit (CMaskEdit)
    DropDown,     // drop-down list with fixed entries
    CheckBox,
    CheckBoxLeftText,
    RadioButton,
    PushButton,
    DefaultButton,
    ListView,     // report-style list with columns
    ListBox,
    DatePicker,
    TimePicker,
    IpAddress,
};

// One control, positioned in dialog units. Texts are UTF-8; items of a drop-down list are
// separated by '\n' (nullptr when it has none). A null English text means the German one
// serves both languages.
struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, width, height;
    const char* german;
    const char* english = nullptr;
    const char* germanItems = nullptr;
    const char* englishItems = nullptr;
    bool hidden = false;
    // Radio buttons: starts a new exclusive group even right after another radio button.
    // A run of radio buttons that any other control interrupts is a new group anyway.
    bool newGroup = false;
};

// One dialog or property page, described once for both languages.
struct DialogTemplate {
    int id;
    const char* germanTitle;
    const char* englishTitle;  // nullptr: German title in both languages
    int width, height;
    int fontPoints;
    std::span<const ControlTemplate> controls;
};

// Control id of texts that nothing looks up (labels, frames).
inline constexpr int kStaticId = -1;

}  // namespace q93
