#pragma once
// The Dsp menu's commands as the controller sees them: reset to defaults, the revision, one parameter
// location viewed or written, the parameter block read for the editor, the parameter report; and the Tool
// menu's RPM and diagnostics commands, which need a DSP of revision 3.01 or later. Each command runs from
// its link check to its last box, holding the program busy.

#include "app/sessions/commandsession.h"

#include <memory>

namespace clink {
class DspRevision;
}

namespace app {

class DspSession : public CommandSession {
public:
    // Bytes read for the DSP parameter editor (0..121) and for the report (0..127), two per read.
    static constexpr int EditorLastAddress = 120;
    static constexpr int ReportLastAddress = 126;

    DspSession(AppServices& services, CommandProgress& progress);
    ~DspSession();

    void mnuDspResetToDefaults();
    void mnuDspRev();
    void mnuViewDspEepromLocation();
    void mnuWriteDspEeprom();
    // Reads the editor's bytes into DataBuffer; true when the parameter editor may open on them.
    bool mnuWriteDspParameters();
    ReportLines mnuDspViewParameters();
    void mnuRPM();
    void mnuDiag();

    // The DSP revision the last revision read found.
    double DspVersion() const;

private:
    enum class ToolData { Rpm, Diagnostics };
    void runToolData(ToolData which);

    // The DSP revision read on the selected link (clink::DspRevision).
    std::unique_ptr<clink::DspRevision> revision_;
};

} // namespace app
