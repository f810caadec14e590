#pragma once
// Parameter files as the controller sees them: Tool > Encrypt File scrambles a plain text list into a
// parameter file; Tool > Write > Parameters and Transducer > Write > Parameters check a parameter file
// whole, then write and verify every byte in the tool's or the external transducer's EEPROM, the progress
// bar following the lines. Each command holds the program busy.

#include "app/parameterfile.h"
#include "app/sessions/commandsession.h"

namespace app {

// The file choices: the offered type first.
inline const QString TextFileFilter = QStringLiteral("Text Files (*.txt *.Txt *.TXT);;All Files (*.*)");
inline const QString ParameterFileFilter =
    QStringLiteral("Parameter Files (*.Prm *.prm *.PRM);;All Files (*.*)");

class ParameterFileSession : public CommandSession {
public:
    using CommandSession::CommandSession;

    void mnuEncryptToolFile();
    void mnuWriteToolParameters() { writeParameters(ParameterFileKind::Tool); }
    void mnuWriteTransducerParameters() { writeParameters(ParameterFileKind::Transducer); }

private:
    void writeParameters(ParameterFileKind kind);
    bool linkCheck(ParameterFileKind kind);
};

} // namespace app
