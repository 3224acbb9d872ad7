#include "resources/templates/connection_template.h"

namespace q93 {
namespace {

using K = ControlKind;

// The two lists are 80 and 95 units high where they open; closed they show one line, and
// Qt sizes the opened list itself.
constexpr ControlTemplate kControls[] = {
    {kStaticId, K::GroupBox, 7, 7, 123, 96, "TCP / IP"},
    {kStaticId, K::Label, 19, 20, 100, 8, "IP Nummer:", "IP Number:"},
    {kConnectionIpAddress, K::IpAddress, 19, 31, 100, 15, ""},
    {kStaticId, K::Label, 19, 50, 100, 8, "TCP-Port:"},
    {kConnectionTcpPort, K::MaskEdit, 19, 60, 40, 14, ""},
    {kConnectionPing, K::PushButton, 19, 81, 37, 14, "Ping"},
    {kConnectionPingResult, K::Label, 62, 85, 61, 8, "Nicht getestet", "Not tested"},
    {kStaticId, K::GroupBox, 7, 107, 123, 68, "Verbinden über", "Connection"},
    {kStaticId, K::LabelRight, 34, 125, 18, 8, "Port:"},
    {kConnectionPort, K::DropDown, 56, 123, 60, 13, ""},
    {kStaticId, K::LabelRight, 26, 143, 26, 8, "Speed:"},
    {kConnectionSpeed, K::DropDown, 56, 141, 60, 13, "", nullptr,
     "1200\n2400\n4800\n9600\n19200\n38400"},
    {kConnectionReadAck, K::CheckBoxLeftText, 13, 159, 51, 10, "ACK lesen:", "Read ACK:"},
    {kConnectionOk, K::DefaultButton, 7, 182, 50, 14, "OK"},
    {kConnectionCancel, K::PushButton, 80, 182, 50, 14, "Abbrechen", "Cancel"},
};

constexpr DialogTemplate kTemplate{
    105, "Encoder Eigenschaften", "Generator Properties", 137, 203, 8, kControls};

}  // namespace

const DialogTemplate& connectionTemplate() {
    return kTemplate;
}

}  // namespace q93
