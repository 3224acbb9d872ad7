#include "screen/pages/range_listing.h"

#include <QCoreApplication>
#include <cmath>
#include <cstring>
#include <limits>

#include "protocol/deviation_units.h"
#include "resources/templates/input_template.h"
#include "resources/templates/interfaces_page_template.h"
#include "resources/templates/limiter_template.h"
#include "resources/templates/mod_check_template.h"
#include "resources/templates/mode_template.h"
#include "resources/templates/output_template.h"
#include "resources/templates/settings_page_template.h"
#include "resources/templates/test_template.h"
#include "screen/kit/template_builder.h"

namespace q93 {
namespace {

// Where a field is edited: its page and the control that shows it.
struct FieldPlace {
    const char* field;
    const DialogTemplate& (*page)();
    int control;
};

template <const DialogTemplate& Page>
const DialogTemplate& page() {
    return Page;
}

const FieldPlace kPlaces[] = {
    {"inputSource", page<kInputTemplate>, kInputSource},
    {"inputLevel", page<kInputTemplate>, kInputLevel},
    {"aesSensitivity", page<kInputTemplate>, kInputAesSensitivity},
    {"scaMode", page<kInputTemplate>, kInputScaOff},
    {"sca1Gain", page<kInputTemplate>, kInputSca1Gain},
    {"sca2Gain", page<kInputTemplate>, kInputSca2Gain},
    {"mpxGain", page<kOutputTemplate>, kOutputMpxGain},
    {"auxOutput", page<kOutputTemplate>, kOutputAuxOutput},
    {"pilotStatus", page<kOutputTemplate>, kOutputPilotStatus},
    {"pilotLevel", page<kOutputTemplate>, kOutputPilotLevel},
    {"pilotPhase", page<kOutputTemplate>, kOutputPilotPhase},
    {"headphoneLevel", page<kOutputTemplate>, kOutputHeadphone},
    {"peakLimiterOn", page<kLimiterTemplate>, kLimiterPeakOn},
    {"maxDeviation", page<kLimiterTemplate>, kLimiterMaxDeviation},
    {"powerLimiterOn", page<kLimiterTemplate>, kLimiterPowerOn},
    {"maxModulationOutput", page<kLimiterTemplate>, kLimiterMaxModulation},
    {"operationMode", page<kModeTemplate>, kModeOperationMode},
    {"preemphasis", page<kModeTemplate>, kModePreemphasis},
    {"testMode", page<kTestTemplate>, kTestMode},
    {"testTone", page<kTestTemplate>, kTestTone},
    {"testToneLevel", page<kTestTemplate>, kTestLevel},
    {"modChkSignaling", page<kModCheckTemplate>, kModCheckSignaling},
    {"modChkDigitalOffTime", page<kModCheckTemplate>, kModCheckDigitalOff},
    {"modChkDigitalOnTime", page<kModCheckTemplate>, kModCheckDigitalOn},
    {"modChkDigitalLevel", page<kModCheckTemplate>, kModCheckDigitalLevel},
    {"modChkAnalogOffTime", page<kModCheckTemplate>, kModCheckAnalogOff},
    {"modChkAnalogOnTime", page<kModCheckTemplate>, kModCheckAnalogOn},
    {"modChkAnalogLevel", page<kModCheckTemplate>, kModCheckAnalogLevel},
    {"sensitivity40k", settingsPageTemplate, kSettingsSensitivity},
    {"levelUnit", settingsPageTemplate, kSettingsUnitKHz},
    {"language", settingsPageTemplate, kSettingsLanguageEnglish},
    {"activePreset", settingsPageTemplate, kSettingsPresetList},
    {"frontResponse", interfacesPageTemplate, kInterfacesFrontResponse},
    {"dte1Response", interfacesPageTemplate, kInterfacesDte1Response},
    {"dte2Response", interfacesPageTemplate, kInterfacesDte2Response},
    {"dte3Response", interfacesPageTemplate, kInterfacesDte3Response},
    {"frontBaud", interfacesPageTemplate, kInterfacesFrontBaud},
    {"dte1Baud", interfacesPageTemplate, kInterfacesDte1Baud},
    {"dte2Baud", interfacesPageTemplate, kInterfacesDte2Baud},
    {"dte3Baud", interfacesPageTemplate, kInterfacesDte3Baud},
};

QString tr(const char* text) {
    return QCoreApplication::translate("q93::RangeListing", text);
}

bool isLabel(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::LabelRight ||
           kind == ControlKind::LabelCenter;
}

// The label the user reads beside the control: a check box's own text, else the nearest
// label above it in the template, without its colon.
QString controlLabel(const DialogTemplate& dialog, int id) {
    QString label;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id) {
            if (control.kind == ControlKind::CheckBox)
                label = templateText(control.german, control.english);
            break;
        }
        if (isLabel(control.kind) && control.german != nullptr && *control.german != '\0')
            label = templateText(control.german, control.english);
    }
    if (label.endsWith(':'))
        label.chop(1);
    return label;
}

QString oneDecimal(double value) {
    return QString::number(value, 'f', 1);
}

// A value as the page would show it, with its unit; one no page can show, in words.
QString valueText(double value, const FieldRange& range, const QString& unit) {
    if (std::isnan(value))
        return tr("not a number");
    if (std::isinf(value))
        return tr("infinite");
    QString number = range.type == FieldType::Int32 ? QString::number(static_cast<long long>(value))
                     : std::fabs(value) < 1e6       ? oneDecimal(value)
                                                    : QString::number(value, 'g', 6);
    return unit.isEmpty() ? number : number + " " + unit;
}

// A level as its page shows it: in dBu where the device shows dBu (the analog Mod Check
// level always), else in kHz with the bounds converted at the device's sensitivity.
QString levelLine(const RangeViolation& field, const DeviceParameters& device) {
    const FieldRange& range = *field.bounds;
    const QString low = oneDecimal(range.low);
    const QString high = oneDecimal(range.high);
    if (!field.sensitivity40k) {
        return tr("%1, allowed: what shows as %2 to %3 dBu at a sensitivity from -18 to +18 dBu")
            .arg(valueText(field.number, range, "kHz"), low, high);
    }
    // The conversions of the pages, at the sensitivity the level was judged at.
    DeviceParameters inDbu;
    inDbu.levelUnit = 1;
    inDbu.sensitivity40k = *field.sensitivity40k;
    if (device.levelUnit == 1 || std::strcmp(range.name, "modChkAnalogLevel") == 0) {
        // No deviation has a level in dBu; the pages would show 0 for it, which is no value.
        const double dbu = std::isnan(field.number) ? field.number
                           : field.number > 0       ? DeviationToDisplay(inDbu, field.number)
                                                    : -std::numeric_limits<double>::infinity();
        return tr("%1, allowed: %2 to %3 dBu").arg(valueText(dbu, range, "dBu"), low, high);
    }
    return tr("%1, allowed: %2 to %3 kHz")
        .arg(valueText(field.number, range, "kHz"),
             oneDecimal(DisplayToDeviation(inDbu, range.low)),
             oneDecimal(DisplayToDeviation(inDbu, range.high)));
}

// The unit as the page writes it beside the edit.
QString unitText(const FieldRange& range) {
    return std::strcmp(range.unit, "degrees") == 0 ? QStringLiteral("\u00b0")
                                                   : QString::fromUtf8(range.unit);
}

QString valueAndRange(const RangeViolation& field, const DeviceParameters& device) {
    const FieldRange& range = *field.bounds;
    switch (range.kind) {
        case RangeKind::List:
            return tr("%1, allowed: list entry %2 to %3")
                .arg(valueText(field.number, range, {}), QString::number(range.low),
                     QString::number(range.high));
        case RangeKind::Switch:
            return tr("%1, allowed: 0 (off) or 1 (on)").arg(valueText(field.number, range, {}));
        case RangeKind::Number:
            return tr("%1, allowed: %2 to %3 %4")
                .arg(valueText(field.number, range, unitText(range)), QString::number(range.low),
                     QString::number(range.high), unitText(range));
        case RangeKind::Dbu:
            break;
    }
    return levelLine(field, device);
}

}  // namespace

QString fieldLabel(const FieldRange& range) {
    for (const FieldPlace& place : kPlaces) {
        if (std::strcmp(place.field, range.name) != 0)
            continue;
        const DialogTemplate& dialog = place.page();
        return QStringLiteral("%1 \u2013 %2 (%3)")
            .arg(templateText(dialog.germanTitle, dialog.englishTitle),
                 controlLabel(dialog, place.control), QString::fromUtf8(range.name));
    }
    return QString::fromUtf8(range.name);
}

QStringList outOfRangeLines(const std::vector<RangeViolation>& fields,
                            const DeviceParameters& device) {
    QStringList lines;
    for (const RangeViolation& field : fields) {
        if (field.bounds == nullptr)
            lines << QString::fromStdString(field.text());
        else
            lines << fieldLabel(*field.bounds) + ": " + valueAndRange(field, device);
    }
    return lines;
}

}  // namespace q93
