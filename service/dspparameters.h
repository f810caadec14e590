#pragma once
// The DSP parameter editor's session: the DSP's parameter block as named rows on twelve tabs, each row a
// 16-bit word at an even byte address (little-endian), shown as a number or as one option of a group; and
// the write of one parameter back to the DSP. The block is what the Dsp > Write > Parameters command read
// into DataBuffer(0..121) (entry k = byte k) before the window opened.
//
//   DspParameterEditor editor(ctx.link, ctx.busy, ctx.palverin.access.AccessLevel);
//   editor.Display_DspParms();                  // fills every row, locks five rows below service level
//   editor.setNumber(30, 500);                   // the user's edit of "Data Points"
//   editor.BtnWriteParameter_Click(30);          // writes it and shows the outcome

#include "base/busyguard.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
}

namespace service {

// A tab of the editor and the frame it holds (none on the Transducer tab: caption empty, index -1).
struct DspTab {
    QString caption;
    QString frame;
    int frameIndex = -1;
};

// One option group: its control name, its frame caption (the three button-position groups) and its options.
struct DspOptionGroup {
    QString name;
    QString frame;
    QStringList options;
};

// How an option row shows a value above its last option.
enum class DspClamp {
    None,   // selects no option
    ToLast, // selects the last option
    ToOff,  // selects option 0
};

struct DspParameter {
    int address = 0;
    int tab = 0;   // index into dspTabs()
    QString label; // the row's label
    bool locked = false;
    // Option rows: the group (one option per value) and how a larger value shows; empty for a numeric row.
    QString group;
    DspClamp clamp = DspClamp::None;
    // The box after a successful write; empty: the label followed by " Value Written Successfully".
    QString writtenText;
};

const std::vector<DspTab>& dspTabs();
// The rows in address order; address 88 (the three button positions) has no group of its own.
const std::vector<DspParameter>& dspParameters();
const DspParameter* dspParameter(int address);
// Every option group, the three button-position groups first.
const std::vector<DspOptionGroup>& dspOptionGroups();
const DspOptionGroup& dspOptionGroup(const QString& name);

class DspParameterEditor : public QObject {
    Q_OBJECT
public:
    // The word at 88 holds the clockwise, center and counter-clockwise button positions (two bits each);
    // its write button has index 0.
    static constexpr int ButtonPositionsAddress = 88;
    static constexpr int ButtonPositionsIndex = 0;
    static inline const QStringList ButtonPositionGroups = {QStringLiteral("Optcw"), QStringLiteral("Optcen"),
                                                            QStringLiteral("Optccw")};
    // A numeric row holds one unsigned 16-bit word.
    static constexpr int LargestValue = 0xFFFF;

    DspParameterEditor(clink::ControllerLink& link, base::BusyState& busy, int accessLevel);
    // On the program's link, under its busy state.
    DspParameterEditor(app::AppServices& services, int accessLevel);

    // Fills every row from DataBuffer and applies the lock of the access level the window opened with.
    void Display_DspParms();

    // False for the five locked rows below service level.
    bool editable(int address) const;
    int number(int address) const;
    // The option shown in a group; none when the value has no option.
    std::optional<int> option(const QString& group) const;

    // The user's edits.
    void setNumber(int address, int value);
    void setOption(const QString& group, std::optional<int> option);

    // The address and value the write button of this index sends; none for an index without a row.
    struct WriteRequest {
        int address = 0;
        int value = 0;
    };
    std::optional<WriteRequest> writeRequest(int index) const;
    // The box after a successful write of this index.
    QString writtenText(int index) const;

    // Writes one parameter and reports the outcome in a box. Nothing happens for a locked row, while a
    // write runs or while another command talks to the controller.
    bool BtnWriteParameter_Click(int index);
    bool writing() const { return writing_; }

signals:
    void writingChanged(bool writing);

private:
    void setWriting(bool writing);

    clink::ControllerLink& link_;
    base::BusyState& busy_;
    int accessLevel_;
    bool writing_ = false;
    std::map<int, int> numbers_;
    std::map<QString, std::optional<int>> options_;
};

} // namespace service
