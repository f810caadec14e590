#include "ladder/ladderfiles.h"

#include "app/programcore.h"
#include "base/dialogs.h"
#include "ladder/laddereditor.h"
#include "ladder/laddertransfer.h"

namespace ladder {

bool LadderFiles::mayWrite(const QString& path) {
    return !app::ProgramCore::FileExists(path) || dialogs_.askOkCancel(OverwriteText, OverwriteCaption);
}

bool LadderFiles::mnuOpen_Click() {
    const QString path = dialogs_.openFileName(OpenTitle, PlcFileFilter);
    if (path.isEmpty())
        return false;
    // The file is read whole before anything is asked or replaced.
    std::optional<LadderProgram> program = editor_.readProject(path);
    if (!program)
        return false;
    if (editor_.tree().count() >= 2 && !dialogs_.askYesNoWithoutIcon(ReceiveQuestion, ReceiveCaption))
        return false;
    editor_.adoptOpenedProject(std::move(*program), path);
    return true;
}

bool LadderFiles::mnuSave_Click() {
    if (editor_.statusText() == NewProjectStatus)
        return mnuSaveAs_Click();
    const QString path = editor_.CurrentFileName();
    return mayWrite(path) && editor_.writeProject(path);
}

bool LadderFiles::mnuSaveAs_Click() {
    const QString path = dialogs_.saveFileName(SaveTitle, PlcFileFilter);
    return !path.isEmpty() && mayWrite(path) && editor_.saveAs(path);
}

bool LadderFiles::mnuPrint_Click() {
    const QString path = dialogs_.saveFileName(SaveTitle, TxtFileFilter);
    return !path.isEmpty() && mayWrite(path) && editor_.writePrintout(path);
}

} // namespace ladder
