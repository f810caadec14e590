#pragma once
// Dsp menu: reset to defaults, the revision, one parameter location viewed or written, the parameter
// block read for the editor, the parameter report; and the Tool menu's RPM and diagnostics commands,
// which need a DSP of revision 3.01 or later.

#include "app/dsprevision.h"
#include "app/ui/commandframe.h"

namespace app {

class DspCommands : public CommandGroup {
public:
    // Bytes read for the DSP parameter editor (0..121) and for the report (0..127), two per read.
    static constexpr int EditorLastAddress = 120;
    static constexpr int ReportLastAddress = 126;

    explicit DspCommands(CommandFrame& frame);
    void bind() override;

    void mnuDspResetToDefaults_Click();
    void mnuDspRev_Click();
    void mnuViewDspEepromLocation_Click();
    void mnuWriteDspEeprom_Click();
    void mnuWriteDspParameters_Click();
    void mnuDspViewParameters_Click();
    void mnuRPM_Click();
    void mnuDiag_Click();

    // The DSP revision the last revision read found.
    double DspVersion() const { return revision_.DspVersion; }

private:
    enum class ToolData { Rpm, Diagnostics };
    void runToolData(ToolData which);
    // The DSP check of the RPM and diagnostics commands; over Ethernet the frame's data byte 0 is given.
    bool dspCheck(int ethernetCode);
    // The pre-check of the DSP parameters' reply as the write commands make it.
    bool writeLinkCheck();

    DspRevision revision_;
};

} // namespace app
