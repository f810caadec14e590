#include "service/dspparameters.h"

#include "app/accesslevels.h"
#include "app/appservices.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"

#include <algorithm>

namespace service {

namespace {
// Tabs, in order.
enum Tab {
    ButtonPositionsTab,
    SoftStartTab,
    DataCollectionTab,
    RbrTab,
    RehitTab,
    MiscTab,
    StartDelayTab,
    AdaptiveTab,
    TransducerTab,
    CanTab,
    MultipleTab,
    TubeNutTab
};

constexpr int ByteMask = 0xFF;
constexpr int ByteBits = 8;
// The three button positions: two bits each, clockwise lowest.
constexpr int PositionBits = 2;
constexpr int PositionMask = 3;

const QString Enable = QStringLiteral("Enable");
const QString WrittenSuffix = QStringLiteral(" Value Written Successfully");
const QString WrittenCaption = QStringLiteral("Write Parameters");
const QString NotWritten = QStringLiteral("DSP DATA NOT WRITTEN SUCCESSFULLY");
const QString NotWrittenCaption = QStringLiteral("WRITE PARAMETERS");
const QString ButtonsWritten = QStringLiteral("Button Value Written Successfully");

DspParameter numeric(int address, Tab tab, const char* label, bool locked = false) {
    return {address, tab, QString::fromLatin1(label), locked, {}, DspClamp::None, {}};
}

DspParameter options(int address, Tab tab, const QString& label, const char* group, DspClamp clamp,
                     const char* written) {
    return {address, tab, label, false, QString::fromLatin1(group), clamp, QString::fromLatin1(written)};
}
} // namespace

const std::vector<DspTab>& dspTabs() {
    static const std::vector<DspTab> tabs = {
        {QStringLiteral("Tool Button Positions"), QStringLiteral("Tool Button Positions"), 0},
        {QStringLiteral("Soft Start"), QStringLiteral("Soft Start"), 1},
        {QStringLiteral("Data Collection"), QStringLiteral("Data Collection"), 2},
        {QStringLiteral("Rundown Backoff Rundown"), QStringLiteral("Rundown Backoff Rundown"), 3},
        {QStringLiteral("Rehit Reject"), QStringLiteral("Rehit Reject"), 4},
        {QStringLiteral("Misc"), QStringLiteral("Misc"), 5},
        {QStringLiteral("Start Delay"), QStringLiteral("Start Delay"), 6},
        {QStringLiteral(" Adaptive Control"), QStringLiteral("Adaptive Control"), 7},
        {QStringLiteral("Transducer"), {}, -1},
        {QStringLiteral("Can"), QStringLiteral("Can "), 8},
        {QStringLiteral("Multiple"), QStringLiteral("Multiple Enable"), 9},
        {QStringLiteral("Tube Nut"), QStringLiteral("Tube Nut"), 10},
    };
    return tabs;
}

const std::vector<DspParameter>& dspParameters() {
    static const std::vector<DspParameter> rows = {
        numeric(6, MiscTab, "Free Run Timeout Sec"),
        numeric(8, MiscTab, "Load Timeout Sec", true),
        numeric(10, MiscTab, "Cycle Complete ms", true),
        numeric(24, CanTab, "# Sent", true),
        numeric(30, DataCollectionTab, "Data Points"),
        numeric(32, DataCollectionTab, "Skip Increment"),
        numeric(34, SoftStartTab, "Dwell (ms)"),
        numeric(36, SoftStartTab, "Dwell Rpm"),
        numeric(38, SoftStartTab, "Ramp (ms)"),
        options(58, RehitTab, Enable, "OptionRehit", DspClamp::ToLast,
                "Rehit Enable Value Written Successfully"),
        numeric(60, RehitTab, "Angle"),
        numeric(64, CanTab, "Time", true),
        numeric(72, RbrTab, "Dwell Down (ms)"),
        numeric(74, RbrTab, "Dwell Up (ms)"),
        numeric(76, RbrTab, "BackOff Deg"),
        options(78, RbrTab, Enable, "OptionRBR", DspClamp::ToLast, "RBR Enable Value Written Successfully"),
        numeric(80, TubeNutTab, "Reverse Dwell (ms)"),
        numeric(82, TubeNutTab, "BackOff Rpm", true),
        numeric(84, TubeNutTab, "Home Dwell (ms)"),
        {DspParameterEditor::ButtonPositionsAddress,
         ButtonPositionsTab,
         QStringLiteral("Tool Button Positions"),
         false,
         {},
         DspClamp::None,
         ButtonsWritten},
        numeric(90, AdaptiveTab, "% Adjustment"),
        options(92, AdaptiveTab, Enable, "OptionAdaptive", DspClamp::None,
                "Adaptive Enable Value Written Successfully"),
        options(94, TransducerTab, QStringLiteral("Master Transducer"), "OptionXducer", DspClamp::None,
                "Master Transducer Selection Written Successfully"),
        numeric(96, MiscTab, "Locked Rotor ms"),
        numeric(100, RbrTab, "1st Rundown Tq (inlb)"),
        options(102, StartDelayTab, QStringLiteral("Start Delay"), "OptionStartDelay", DspClamp::None,
                "Start Delay Selection Written Successfully"),
        numeric(104, StartDelayTab, "Start Delay ms"),
        options(108, MultipleTab, Enable, "OptMultiple", DspClamp::ToOff,
                "Multiple Function Enable Written Successfully"),
        numeric(112, MultipleTab, "Tq Check Rpm"),
        numeric(114, MultipleTab, "Check Tq % (%Max)"),
        numeric(116, MultipleTab, "Tq Check Timeout (ms)"),
    };
    return rows;
}

const DspParameter* dspParameter(int address) {
    const auto& rows = dspParameters();
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const DspParameter& p) { return p.address == address; });
    return it == rows.end() ? nullptr : &*it;
}

const std::vector<DspOptionGroup>& dspOptionGroups() {
    static const QStringList positions = {QStringLiteral("None"), QStringLiteral("Fwd"),
                                          QStringLiteral("Rev"), QStringLiteral("Aux")};
    static const QStringList offOn = {QStringLiteral("Off"), QStringLiteral("On")};
    static const std::vector<DspOptionGroup> groups = {
        {QStringLiteral("Optcw"), QStringLiteral("Light Ring Cw"), positions},
        {QStringLiteral("Optcen"), QStringLiteral("Light Ring Center"), positions},
        {QStringLiteral("Optccw"), QStringLiteral("Light Ring Ccw"), positions},
        {QStringLiteral("OptionRehit"), {}, offOn},
        {QStringLiteral("OptionRBR"),
         {},
         {QStringLiteral("Off"), QStringLiteral("Rundown-Backoff-Rundown"),
          QStringLiteral("Rundown - Backoff")}},
        {QStringLiteral("OptionAdaptive"),
         {},
         {QStringLiteral("Off"), QStringLiteral(" 1st Ten"), QStringLiteral("All")}},
        {QStringLiteral("OptionXducer"), {}, {QStringLiteral("Internal"), QStringLiteral("External")}},
        {QStringLiteral("OptionStartDelay"), {}, offOn},
        {QStringLiteral("OptMultiple"), {}, offOn},
    };
    return groups;
}

const DspOptionGroup& dspOptionGroup(const QString& name) {
    const auto& groups = dspOptionGroups();
    const auto it =
        std::find_if(groups.begin(), groups.end(), [&](const DspOptionGroup& g) { return g.name == name; });
    return it == groups.end() ? groups.front() : *it;
}

DspParameterEditor::DspParameterEditor(clink::ControllerLink& link, base::BusyState& busy, int accessLevel)
    : link_(link), busy_(busy), accessLevel_(accessLevel) {}

DspParameterEditor::DspParameterEditor(app::AppServices& services, int accessLevel)
    : DspParameterEditor(services.link, services.busy, accessLevel) {}

void DspParameterEditor::Display_DspParms() {
    const clink::DataBufferArray& bytes = link_.state.DataBuffer;
    for (const DspParameter& row : dspParameters()) {
        const int value = ((bytes[row.address + 1] & ByteMask) << ByteBits) | (bytes[row.address] & ByteMask);
        if (row.address == ButtonPositionsAddress) {
            for (int i = 0; i < int(ButtonPositionGroups.size()); ++i)
                options_[ButtonPositionGroups[i]] = (value >> (PositionBits * i)) & PositionMask;
            continue;
        }
        if (row.group.isEmpty()) {
            numbers_[row.address] = value;
            continue;
        }
        const int last = int(dspOptionGroup(row.group).options.size()) - 1;
        std::optional<int> shown = value;
        if (value > last) {
            switch (row.clamp) {
            case DspClamp::None:
                shown.reset();
                break;
            case DspClamp::ToLast:
                shown = last;
                break;
            case DspClamp::ToOff:
                shown = 0;
                break;
            }
        }
        options_[row.group] = shown;
    }
}

bool DspParameterEditor::editable(int address) const {
    const DspParameter* row = dspParameter(address);
    return row && !(row->locked && accessLevel_ < app::ServiceLevel);
}

int DspParameterEditor::number(int address) const {
    const auto it = numbers_.find(address);
    return it == numbers_.end() ? 0 : it->second;
}

std::optional<int> DspParameterEditor::option(const QString& group) const {
    const auto it = options_.find(group);
    return it == options_.end() ? std::nullopt : it->second;
}

void DspParameterEditor::setNumber(int address, int value) {
    numbers_[address] = std::clamp(value, 0, LargestValue);
}

void DspParameterEditor::setOption(const QString& group, std::optional<int> option) {
    options_[group] = option;
}

std::optional<DspParameterEditor::WriteRequest> DspParameterEditor::writeRequest(int index) const {
    if (index == ButtonPositionsIndex) {
        int value = 0;
        for (int i = 0; i < int(ButtonPositionGroups.size()); ++i)
            value |= option(ButtonPositionGroups[i]).value_or(0) << (PositionBits * i);
        return WriteRequest{ButtonPositionsAddress, value};
    }
    const DspParameter* row = dspParameter(index);
    if (!row || index == ButtonPositionsAddress)
        return std::nullopt;
    if (!row->group.isEmpty())
        return WriteRequest{index, option(row->group).value_or(0)};
    return WriteRequest{index, number(index)};
}

QString DspParameterEditor::writtenText(int index) const {
    const DspParameter* row =
        dspParameter(index == ButtonPositionsIndex ? int(ButtonPositionsAddress) : index);
    if (!row)
        return {};
    return row->writtenText.isEmpty() ? row->label + WrittenSuffix : row->writtenText;
}

bool DspParameterEditor::BtnWriteParameter_Click(int index) {
    const std::optional<WriteRequest> request = writeRequest(index);
    if (!request || !editable(request->address) || writing_)
        return false;
    base::BusyGuard guard(busy_);
    if (!guard.acquired())
        return false;
    setWriting(true);
    if (!link_.dataTx.WriteDspEeprom(request->address, request->value)) {
        link_.dialogs.message(NotWritten, NotWrittenCaption, base::MessageIcon::Information);
        setWriting(false);
        return false;
    }
    setWriting(false);
    link_.dialogs.message(writtenText(index), WrittenCaption, base::MessageIcon::Information);
    return true;
}

void DspParameterEditor::setWriting(bool writing) {
    writing_ = writing;
    emit writingChanged(writing);
}

} // namespace service
