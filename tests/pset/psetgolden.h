#pragma once
// The golden project: three Psets in Nm made through the editor's commands, records 4..8 as added Psets,
// and the 1680 bytes its project file must hold.

#include "app/appsettings.h"
#include "app/psettable.h"
#include "pset/psetsession.h"

#include <QByteArray>

namespace psettest {

// New project, two Psets added, a few values typed into the table (the default units must be Nm).
void fillGoldenProject(pset::PsetEditorSession& session, app::PsetTable& table,
                       const app::PsetDefaultValues& defaults);
// The values typed into the table once the project has its three Psets (records 4..8 as added Psets).
void typeGoldenValues(app::PsetTable& table, const app::PsetDefaultValues& defaults);
// The file image of the golden project, built field by field at the layout offsets.
QByteArray goldenProjectImage();

} // namespace psettest
