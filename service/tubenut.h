#pragma once
// The tube-nut settings' session: the three torques the tool keeps for tube-nut work, one byte each in the
// tool EEPROM (53 home, 54 open loop, 55 safety torque, in lb-in). They are read when the window opens (all
// three or none) and written one at a time. A location holds a value only once it was read from the tool
// or typed by the user; one without a value is never written (a failed read must not put 0 into the tool).
//
//   TubeNutSettings settings(ctx.link, ctx.busy);
//   settings.Form_Load();                         // link check, then 53, 54, 55
//   settings.setValue(55, 99);
//   settings.BtnWriteParameter_Click(55);         // writes it and says so

#include "base/busyguard.h"

#include <QObject>

#include <array>
#include <optional>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
}

namespace service {

class TubeNutSettings : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> Locations = {53, 54, 55};
    // The label of each location, in the order of Locations.
    static constexpr std::array<const char*, Locations.size()> Labels = {"Home (inlb)", "Open Loop (inlb)",
                                                                         "Safety Torque (inlb)"};
    // Each location holds one byte.
    static constexpr int LargestValue = 0xFF;

    TubeNutSettings(clink::ControllerLink& link, base::BusyState& busy);
    // On the program's link, under its busy state.
    explicit TubeNutSettings(app::AppServices& services);

    // The link check for the tool EEPROM's reply, then the three locations in order; any failure leaves
    // every value unset.
    void Form_Load();

    // The value of a location; none until it was read or typed.
    std::optional<int> value(int location) const;
    void setValue(int location, int value);

    // Writes one location and reports the outcome; nothing happens while a write runs or another command
    // talks to the controller. A location without a value sends nothing and says so:
    // "No Value For Home (inlb) - Data Not Written To Eeprom".
    bool BtnWriteParameter_Click(int location);
    static QString noValueText(int location);
    bool writing() const { return writing_; }

signals:
    void valuesChanged();
    void writingChanged(bool writing);

private:
    static int slot(int location);
    void setWriting(bool writing);

    clink::ControllerLink& link_;
    base::BusyState& busy_;
    std::array<std::optional<int>, Locations.size()> values_{};
    bool writing_ = false;
};

} // namespace service
