#include "resources/templates/mod_check_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr const char* kSecondsGerman = "Sekunden ( 1s bis 600 s )";
constexpr const char* kSecondsEnglish = "Seconds ( 1s to 600 s )";

constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 216, 176, "Parameter"},
    {kModCheckSignaling, K::CheckBox, 14, 20, 206, 10, "Signalisierung aktivieren",
     "Activate signaling"},
    {kStaticId, K::Label, 14, 36, 60, 10, "Digital:"},
    {kStaticId, K::Label, 22, 50, 36, 10, "t (aus):", "t (off):"},
    {kModCheckDigitalOff, K::MaskEdit, 60, 48, 30, 12, ""},
    {kStaticId, K::Label, 94, 50, 126, 10, kSecondsGerman, kSecondsEnglish},
    {kStaticId, K::Label, 22, 65, 36, 10, "t (ein):", "t (on):"},
    {kModCheckDigitalOn, K::MaskEdit, 60, 63, 30, 12, ""},
    {kStaticId, K::Label, 94, 65, 126, 10, kSecondsGerman, kSecondsEnglish},
    {kStaticId, K::Label, 22, 80, 36, 10, "Pegel:", "Level:"},
    {kModCheckDigitalLevel, K::MaskEdit, 60, 78, 30, 12, ""},
    {kStaticId, K::Label, 94, 80, 126, 10, "dBFS ( -55 dBFS bis 0 dBFS )",
     "dBFS ( -50 dBFS to 0 dBFS )"},
    {kStaticId, K::Label, 14, 98, 60, 10, "Analog:"},
    {kStaticId, K::Label, 22, 112, 36, 10, "t (aus):", "t (off):"},
    {kModCheckAnalogOff, K::MaskEdit, 60, 110, 30, 12, ""},
    {kStaticId, K::Label, 94, 112, 126, 10, kSecondsGerman, kSecondsEnglish},
    {kStaticId, K::Label, 22, 127, 36, 10, "t (ein):", "t (on):"},
    {kModCheckAnalogOn, K::MaskEdit, 60, 125, 30, 12, ""},
    {kStaticId, K::Label, 94, 127, 126, 10, kSecondsGerman, kSecondsEnglish},
    {kStaticId, K::Label, 22, 142, 36, 10, "Pegel:", "Level:"},
    {kModCheckAnalogLevel, K::MaskEdit, 60, 140, 30, 12, ""},
    {kStaticId, K::Label, 94, 142, 126, 10, "dBu ( -40 dBu bis -6 dBu )",
     "dBu ( -34 dBu to -6 dBu )"},
};

}  // namespace

const DialogTemplate kModCheckTemplate{151, "Mod Überw.", "Mod Check", 230, 190, 8, kControls};

}  // namespace q93
