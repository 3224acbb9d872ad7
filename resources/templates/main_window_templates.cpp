#include "resources/templates/main_window_templates.h"

namespace q93 {
namespace {

using K = ControlKind;

// Connect and Dyn. Daten... are created hidden and nothing shows them; Save is hidden too,
// the node is saved when it is left or sent.
constexpr ControlTemplate kMainControls[] = {
    {kStaticId, K::GroupBox, 399, 7, 85, 67, "Verbindung", "Connection"},
    {kPortLogButtonId, K::PushButton, 418, 25, 50, 14, "PortLog"},
    {kConnectButtonId, K::PushButton, 418, 45, 50, 14, "Connect", nullptr, nullptr, nullptr, true},
    {kStaticId, K::GroupBox, 400, 80, 84, 61, "Daten", "Data"},
    {kSaveButtonId, K::PushButton, 415, 183, 50, 14, "Speichern", "Save", nullptr, nullptr, true},
    {kReadButtonId, K::PushButton, 418, 95, 50, 14, "Auslesen", "Read"},
    {kUpdateButtonId, K::PushButton, 418, 117, 50, 14, "Senden", "Update"},
    {kDynamicDataButtonId, K::PushButton, 434, 210, 50, 14, "Dyn. Daten...", nullptr, nullptr,
     nullptr, true},
};

constexpr ControlTemplate kMainPlaces[] = {
    {kLocationTreeId, K::GroupBox, 7, 7, 139, 217, ""},
    {kSheetPlaceholderId, K::GroupBox, 154, 7, 220, 207, ""},
};

constexpr DialogTemplate kMainTemplate{102, "Q93 Config", nullptr, 491, 231, 8, kMainControls};

// The icon sits at 7,7 in 20 x 20 units, drawn by the box itself.
constexpr ControlTemplate kAboutControls[] = {
    {kAboutVersionTextId, K::Label, 40, 10, 132, 8, "Q93Config Version 1.26",
     "Q93Config Version 1.2"},
    {kStaticId, K::Label, 40, 25, 132, 8, "Einstellung der Q93 Stereocoder",
     "Setup of the Q93 stereo encoders"},
    {kAboutOkId, K::DefaultButton, 178, 7, 50, 14, "OK"},
};

constexpr DialogTemplate kAboutTemplate{100, "Info über Q93Config", "About Q93Config", 235, 55,
                                        8,   kAboutControls};

}  // namespace

const DialogTemplate& mainWindowTemplate() {
    return kMainTemplate;
}

const ControlTemplate& mainWindowPlace(int id) {
    return id == kLocationTreeId ? kMainPlaces[0] : kMainPlaces[1];
}

const DialogTemplate& aboutBoxTemplate() {
    return kAboutTemplate;
}

}  // namespace q93
