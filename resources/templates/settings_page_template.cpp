#include "resources/templates/settings_page_template.h"

namespace q93 {
namespace {

using K = ControlKind;

// Rows from the top: preset, unit, language, sensitivity with its hint below, then the
// status frame with its three columns and the AES/EBU line.
constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, K::Label, 17, 22, 70, 8, "Preset:"},
    {kSettingsPresetList, K::DropDown, 95, 20, 40, 12, "", nullptr, "1\n2\n3\n4\n5\n6\n7\n8"},
    {kStaticId, K::Label, 17, 38, 70, 8, "Einheit:", "Unit:"},
    {kSettingsUnitKHz, K::RadioButton, 95, 37, 45, 10, "kHz"},
    {kSettingsUnitDBu, K::RadioButton, 150, 37, 45, 10, "dBu"},
    {kStaticId, K::Label, 17, 54, 70, 8, "Sprache:", "Language:"},
    {kSettingsLanguageEnglish, K::RadioButton, 95, 53, 50, 10, "Englisch", "English"},
    {kSettingsLanguageGerman, K::RadioButton, 150, 53, 50, 10, "Deutsch", "German"},
    {kStaticId, K::Label, 17, 72, 190, 8, "Empfindlichkeit bei 40 kHz:", "Sensitivity at 40 kHz:"},
    {kSettingsSensitivity, K::MaskEdit, 17, 84, 36, 12, ""},
    {kStaticId, K::Label, 58, 86, 150, 8, "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
    {kStaticId, K::GroupBox, 14, 106, 202, 70, "Aktuell verwendeter Eingang",
     "Currently used Input"},
    {kStaticId, K::Label, 22, 120, 45, 8, "Digital"},
    {kStaticId, K::Label, 70, 120, 45, 8, "Analog"},
    {kStaticId, K::Label, 118, 120, 92, 8, "Eingang", "Input"},
    {kSettingsDigitalChannels, K::Label, 22, 134, 45, 8, "? / ?"},
    {kSettingsAnalogChannels, K::Label, 70, 134, 45, 8, "? / ?"},
    {kSettingsCurrentInput, K::Label, 118, 134, 92, 8, "Nicht ausgelesen...", "Not requested..."},
    {kSettingsAesFrame, K::Label, 22, 154, 188, 8, ""},
};

constexpr DialogTemplate kTemplate{132, "Einstellungen", "Settings", 230, 190, 8, kControls};

}  // namespace

const DialogTemplate& settingsPageTemplate() {
    return kTemplate;
}

}  // namespace q93
