#pragma once
// Parameter files: Tool > Encrypt File scrambles a plain text list into a parameter file; Tool > Write >
// Parameters and Transducer > Write > Parameters check a parameter file whole, then write and verify
// every byte in the tool's or the external transducer's EEPROM.

#include "app/parameterfile.h"
#include "app/ui/commandframe.h"

namespace app {

// The file choices: the offered type first.
inline const QString TextFileFilter = QStringLiteral("Text Files (*.txt *.Txt *.TXT);;All Files (*.*)");
inline const QString ParameterFileFilter =
    QStringLiteral("Parameter Files (*.Prm *.prm *.PRM);;All Files (*.*)");

class ParameterFileCommands : public CommandGroup {
public:
    using CommandGroup::CommandGroup;
    void bind() override;

    void mnuEncryptToolFile_Click();
    void mnuWriteToolParameters_Click();
    void mnuWriteTransducerParameters_Click();

private:
    void writeParameters(ParameterFileKind kind);
    bool linkCheck(ParameterFileKind kind);
};

} // namespace app
