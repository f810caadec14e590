#pragma once
// The ladder editor's session: the one program being edited, with the rung-tree operations, the element
// list the group buttons fill, where-used, the presets and the nodes that show them, the project state
// (status text, file name, Save menus), the file load and write, and the rebuild from a received image.
// The window is a view over it; the settings collection drives it too. Messages go through Dialogs.
//
//   LadderEditor editor(dialogs);
//   editor.addRung();                          // rung 1 with its inputs and outputs nodes
//   editor.showGroup(groupIndex);              // List1 := the group's texts; returns the where-used lines
//   editor.placeElement(inputsNode, listIndex);
//   editor.setCounterPreset(1, 6);             // renames "Counter 1 = ..." nodes

#include "ladder/elementcatalogue.h"
#include "ladder/ladderimage.h"
#include "ladder/ladderprogram.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace base {
class Dialogs;
}

namespace ladder {

inline const QString NewProjectStatus = QStringLiteral("New Project Started");
inline const QString FileLoadedStatus = QStringLiteral("File Loaded: ");
inline const QString RungLimitText = QStringLiteral("Maximum Number Of Rungs = 30");

struct SaveMenus {
    bool save = false;
    bool saveAs = false;
    bool operator==(const SaveMenus&) const = default;
};

// What selecting a node enables: the group frame of its side, the captions above the two lists.
struct NodeSelection {
    QString caption; // the window caption: the node's text
    bool inputsEnabled = false;
    bool outputsEnabled = false;
    QString availableLabel; // empty: the labels stay as they were
    QString usedLabel;
};

class LadderEditor {
public:
    explicit LadderEditor(base::Dialogs& dialogs);

    const LadderProgram& program() const { return program_; }
    const LadderTree& tree() const { return program_.tree; }
    const LadderPresets& presets() const { return program_.presets; }
    int RungCount() const { return program_.RungCount; }

    // Called whenever the project is replaced as a whole (reset, New Project, a file opened, a program
    // received or cleared by the controller's defaults), also when the settings collection drives the
    // editor: the window that shows it redraws.
    void setOnProjectReplaced(std::function<void()> listener) { onProjectReplaced_ = std::move(listener); }

    // Back to a freshly opened editor: the root alone (image 0), presets 1, no file, no element list, no
    // trace, Save menus off, "New Project Started".
    void reset();

    // --- the rung tree ---
    // Adds rung RungCount + 1 with its inputs and outputs nodes; at 30 rungs shows "Maximum Number Of
    // Rungs = 30" and adds nothing. Disables the Save menus.
    bool addRung();
    // Removes an element node; root, rung and list nodes are never removed. Returns true when removed.
    bool deleteEntry(int node);
    // The root alone, presets 1, Save menus off, "New Project Started". Also what the controller's
    // acknowledged factory defaults leave.
    void newProject();
    // Asks for a rung's new text ("New Caption", caption "Brenstal"); cancelled or empty keeps it. Only
    // rung nodes are renamed; the key never changes.
    bool renameRung(int node);
    // Clears the element list and tells which group frame the node enables.
    NodeSelection selectNode(int node);

    // --- elements ---
    // A group button: the element list gets the group's texts (presets as they are now) and its base
    // code; returns the where-used lines of every entry, entry by entry.
    QStringList showGroup(int groupIndex);
    const QStringList& elementList() const { return elementList_; }
    // Empties the element list (no group shown): Open and Receive start from an empty list.
    void clearElementList();
    // True when the element list's group belongs to the side of this list node (a rung's inputs node for an
    // input group, its outputs node for an output group).
    bool canPlace(int node) const;
    // Places element listIndex of the element list under the selected inputs or outputs node: the code is
    // listIndex + the group's base code, the text the list text, the key the text made unique. Ignored when
    // the side does not match or the list node already holds 8 elements.
    bool placeElement(int node, int listIndex);
    // Where-used: one line "text - rung text" per element node whose text begins with the trimmed text.
    QStringList ShowElementUse(const QString& text) const;

    // --- presets ---
    // Sets a preset and rewrites the nodes that show it: counter n's conditions (image 47 + n, key
    // beginning "Counter n =") and timer n's starts (text beginning "Timer n Start") get the clean text;
    // a key another node holds gets a blank and the run's count of refusals appended, and the next node
    // starts from that key.
    void setCounterPreset(int n, double value);
    void setTimerPreset(int n, double value);

    // --- files ---
    // Reads a ladder file into a new program without touching the current one. A missing file shows
    // "File does not exists", a damaged one "File is damaged (record n)"; both return nothing.
    std::optional<LadderProgram> readProject(const QString& path) const;
    // Makes an opened program the project: the element list and the trace of an earlier send emptied,
    // the file name, "File Loaded: " + name, only Save As enabled, then "File Opened Successfully".
    void adoptOpenedProject(LadderProgram program, const QString& path);
    // Writes the program to path; a failed write shows a message and leaves the old file whole.
    bool writeProject(const QString& path) const;
    // Save As once the name is fixed: writes, then the file name and status follow the new file.
    bool saveAs(const QString& path);
    // Writes the rung printout (one line per node, CR LF); a failed write shows a message.
    bool writePrintout(const QString& path) const;

    // --- the controller ---
    // The image of the program for sending; not ok after a critical message naming the rung that cannot
    // be sent (more than 10 elements in a list, an element code outside 1..255).
    LadderImageBuild buildSendImage() const;
    // The trace of the send under way or failed last (its own view: never placed as elements).
    const QStringList& transferTrace() const { return transferTrace_; }
    void setTransferTrace(QStringList trace) { transferTrace_ = std::move(trace); }
    // Rebuilds the project from a received image: "Logic I/O Transfer Completed" and both Save menus
    // on; more than 30 rungs shows "Maximum Number Of Rungs = 30", leaves the empty new project and
    // returns false.
    bool BuildRungTree(const LadderImage& image);

    // --- project state ---
    const QString& statusText() const { return statusText_; }
    const QString& CurrentFileName() const { return currentFileName_; }
    SaveMenus saveMenus() const { return saveMenus_; }

private:
    void enableSaveWhenPopulated();
    void projectReplaced() const;
    void reportWriteFailure(const QString& path, const QString& error) const;
    void renamePresetNodes(const QString& text, const std::function<bool(const LadderNode&)>& shows);
    base::Dialogs& dialogs_;
    LadderProgram program_;
    QStringList elementList_;
    QStringList transferTrace_;
    int elementBaseCode_ = 0;
    // The element list's side, or nothing before the first group button.
    std::optional<ElementSide> elementSide_;
    QString statusText_ = NewProjectStatus;
    QString currentFileName_;
    SaveMenus saveMenus_;
    std::function<void()> onProjectReplaced_;
};

} // namespace ladder
