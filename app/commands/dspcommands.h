#pragma once
// Dsp menu: reset to defaults, the revision, one parameter location viewed or written, the parameter
// block read for the editor, the parameter report; and the Tool menu's RPM and diagnostics commands. The
// handlers run the command's session; the editor opens on the bytes it read.

#include "app/sessions/dspsession.h"
#include "app/ui/commandframe.h"

namespace app {

class DspCommands : public CommandGroup {
public:
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

private:
    DspSession session_;
};

} // namespace app
