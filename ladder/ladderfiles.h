#pragma once
// The File menu of the ladder editor over its session: Open Project picks the file and reads it before it
// asks to replace the project (a cancelled dialog, a missing or damaged file leave the project as it was),
// Save writes the current file after the overwrite question (a new project is saved under a new name), Save
// As asks for the name, Print writes the rung printout to a text file. The dialogs start in the user's home
// folder; the chosen name is used as it is.
//
//   ladder::LadderFiles files(dialogs, module.editor());
//   files.mnuOpen_Click();

#include <QString>

namespace base {
class Dialogs;
}

namespace ladder {

class LadderEditor;

inline const QString OpenTitle = QStringLiteral("Open Logic I/O File");
inline const QString SaveTitle = QStringLiteral("Save Rung Information");
// Both spellings of the extension: the settings collection writes ".PLC".
inline const QString PlcFileFilter = QStringLiteral("Plc Files (*.Plc *.plc *.PLC);;All Files (*)");
inline const QString TxtFileFilter = QStringLiteral("Txt Files (*.Txt *.txt *.TXT);;All Files (*)");
inline const QString OverwriteText = QStringLiteral("This file already exists. - Overwrite File ?");
inline const QString OverwriteCaption = QStringLiteral("File Exists Warning");

class LadderFiles {
public:
    LadderFiles(base::Dialogs& dialogs, LadderEditor& editor) : dialogs_(dialogs), editor_(editor) {}

    // Each returns true when it opened or wrote a file.
    bool mnuOpen_Click();
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    bool mnuPrint_Click();

private:
    // True when path is free, or the user agrees to overwrite it.
    bool mayWrite(const QString& path);

    base::Dialogs& dialogs_;
    LadderEditor& editor_;
};

} // namespace ladder
