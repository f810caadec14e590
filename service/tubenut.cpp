#include "service/tubenut.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/toolcalibration.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"

#include <algorithm>

namespace service {

namespace {
const QString NotReceived = QStringLiteral("Tube Nut Data Not Received");
const QString Written = QStringLiteral("Data Written To Eeprom");
const QString NotWritten = QStringLiteral("Data Not Written To Eeprom");
const QString NoValueFor = QStringLiteral("No Value For ");

void criticalBox(clink::ControllerLink& link, const QString& text) {
    link.dialogs.message(text, base::ProgramTitle, base::MessageIcon::Critical);
}
} // namespace

TubeNutSettings::TubeNutSettings(clink::ControllerLink& link, base::BusyState& busy)
    : link_(link), busy_(busy) {}

TubeNutSettings::TubeNutSettings(app::AppServices& services)
    : TubeNutSettings(services.link, services.busy) {}

int TubeNutSettings::slot(int location) {
    const auto it = std::find(Locations.begin(), Locations.end(), location);
    return it == Locations.end() ? -1 : int(it - Locations.begin());
}

void TubeNutSettings::Form_Load() {
    base::BusyGuard guard(busy_);
    if (!guard.acquired())
        return;
    if (!app::LinkGate(link_).preCheck(clink::ids::ToolEepromReply, app::toolEepromCheck()))
        return;
    clink::LinkState& s = link_.state;
    link_.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    for (int location : Locations) {
        if (!link_.dataTx.ReadToolEeprom(location)) {
            criticalBox(link_, NotReceived);
            return;
        }
    }
    for (size_t i = 0; i < Locations.size(); ++i)
        values_[i] = s.DataBuffer[int(i)];
    emit valuesChanged();
}

std::optional<int> TubeNutSettings::value(int location) const {
    const int i = slot(location);
    return i < 0 ? std::nullopt : values_[size_t(i)];
}

void TubeNutSettings::setValue(int location, int value) {
    const int i = slot(location);
    if (i >= 0)
        values_[size_t(i)] = std::clamp(value, 0, LargestValue);
}

QString TubeNutSettings::noValueText(int location) {
    const int i = slot(location);
    const QString label = i < 0 ? QString::number(location) : QString::fromLatin1(Labels[size_t(i)]);
    return NoValueFor + label + QStringLiteral(" - ") + NotWritten;
}

bool TubeNutSettings::BtnWriteParameter_Click(int location) {
    const int i = slot(location);
    if (i < 0 || writing_)
        return false;
    base::BusyGuard guard(busy_);
    if (!guard.acquired())
        return false;
    const std::optional<int> value = values_[size_t(i)];
    if (!value) {
        criticalBox(link_, noValueText(location));
        return false;
    }
    setWriting(true);
    const bool ok = link_.dataTx.WriteToolEeprom(location, *value);
    setWriting(false);
    criticalBox(link_, ok ? Written : NotWritten);
    return ok;
}

void TubeNutSettings::setWriting(bool writing) {
    writing_ = writing;
    emit writingChanged(writing);
}

} // namespace service
