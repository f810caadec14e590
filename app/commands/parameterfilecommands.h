#pragma once
// Parameter files: Tool > Encrypt File, Tool > Write > Parameters and Transducer > Write > Parameters. The
// handlers run the parameter-file session.

#include "app/sessions/parameterfilesession.h"
#include "app/ui/commandframe.h"

namespace app {

class ParameterFileCommands : public CommandGroup {
public:
    explicit ParameterFileCommands(CommandFrame& frame);
    void bind() override;

    void mnuEncryptToolFile_Click();
    void mnuWriteToolParameters_Click();
    void mnuWriteTransducerParameters_Click();

private:
    ParameterFileSession session_;
};

} // namespace app
