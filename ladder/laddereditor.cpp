#include "ladder/laddereditor.h"

#include "base/dialogs.h"
#include "base/numbertext.h"
#include "base/textlines.h"
#include "ladder/ladderrebuild.h"
#include "ladder/plcfile.h"
#include "ladder/printout.h"

#include <QDir>

namespace ladder {

namespace {

const QString PlcWarningCaption = QStringLiteral("Plc - Warning");
const QString FileErrorCaption = QStringLiteral("File Error");
const QString TransferErrorCaption = QStringLiteral("Transfer Error");
const QString RenameCaption = QStringLiteral("Brenstal");
const QString RenamePrompt = QStringLiteral("New Caption");
// Root, one rung and its two list nodes: the least a program worth saving holds.
constexpr int SaveableNodes = 4;
// Levels above an inputs or outputs node: root and rung.
constexpr int ListLevel = 2;
// The longest key a preset change carries from node to node. Eight conditions or timer starts in each of 30
// rungs take it to under 900 characters; a tree read from a file may hold any number of such nodes, and
// past this length each further key is the text and the count alone, so no key grows with the tree.
constexpr qsizetype LongestCarriedKey = 4096;

} // namespace

LadderEditor::LadderEditor(base::Dialogs& dialogs)
    : dialogs_(dialogs), program_(LadderProgram::empty(RootImageAtStart)) {}

void LadderEditor::reset() {
    program_ = LadderProgram::empty(RootImageAtStart);
    clearElementList();
    transferTrace_.clear();
    statusText_ = NewProjectStatus;
    currentFileName_.clear();
    saveMenus_ = SaveMenus{};
    projectReplaced();
}

void LadderEditor::projectReplaced() const {
    if (onProjectReplaced_)
        onProjectReplaced_();
}

bool LadderEditor::addRung() {
    // The next rung number is RungCount + 1; a loaded file may already hold that key (rungs numbered with
    // a gap), so the first free number from there is taken.
    int n = program_.RungCount + 1;
    while (n <= MaximumRungs && !program_.appendRung(n))
        ++n;
    if (n > MaximumRungs) {
        dialogs_.message(RungLimitText, PlcWarningCaption, base::MessageIcon::Critical);
        return false;
    }
    program_.RungCount = n;
    saveMenus_ = SaveMenus{};
    return true;
}

bool LadderEditor::deleteEntry(int node) {
    if (!tree().valid(node))
        return false;
    const QString& key = tree().node(node).key;
    if (isInputsKey(key) || isOutputsKey(key) || isRootKey(key) || isRungKey(key))
        return false;
    program_.tree.remove(node);
    enableSaveWhenPopulated();
    return true;
}

void LadderEditor::newProject() {
    program_ = LadderProgram::empty();
    saveMenus_ = SaveMenus{};
    statusText_ = NewProjectStatus;
    projectReplaced();
}

bool LadderEditor::renameRung(int node) {
    if (!tree().valid(node) || !isRungKey(tree().node(node).key))
        return false;
    QString text = tree().node(node).text;
    if (!dialogs_.inputText(RenamePrompt, RenameCaption, text) || text.isEmpty())
        return false;
    program_.tree.setText(node, text);
    return true;
}

void LadderEditor::clearElementList() {
    elementList_.clear();
    elementBaseCode_ = 0;
    elementSide_.reset();
}

NodeSelection LadderEditor::selectNode(int node) {
    elementList_.clear();
    NodeSelection selection;
    if (!tree().valid(node))
        return selection;
    const LadderNode& selected = tree().node(node);
    selection.caption = selected.text;
    if (isInputsKey(selected.key)) {
        selection.inputsEnabled = true;
        selection.availableLabel = QStringLiteral("Logic Inputs Available");
        selection.usedLabel = QStringLiteral("Logic Inputs Used");
    } else if (isOutputsKey(selected.key)) {
        selection.outputsEnabled = true;
        selection.availableLabel = QStringLiteral("Logic Outputs Available");
        selection.usedLabel = QStringLiteral("Logic Outputs Used");
    }
    return selection;
}

QStringList LadderEditor::showGroup(int groupIndex) {
    const std::vector<ElementGroup>& groups = elementGroups();
    if (groupIndex < 0 || groupIndex >= int(groups.size()))
        return {};
    const ElementGroup& group = groups[size_t(groupIndex)];
    elementList_ = groupListTexts(group, presets());
    elementBaseCode_ = group.baseCode;
    elementSide_ = group.side;
    QStringList used;
    for (const QString& text : std::as_const(elementList_))
        used += ShowElementUse(text);
    return used;
}

bool LadderEditor::canPlace(int node) const {
    if (!elementSide_ || !tree().valid(node))
        return false;
    // A list node is a rung's child: an element read from a file under such a key takes nothing.
    const QString& key = tree().node(node).key;
    return tree().level(node) == ListLevel &&
           (*elementSide_ == ElementSide::Inputs ? isInputsKey(key) : isOutputsKey(key));
}

bool LadderEditor::placeElement(int node, int listIndex) {
    if (!canPlace(node) || listIndex < 0 || listIndex >= elementList_.size() ||
        tree().childCount(node) >= MaximumPlacedElements)
        return false;
    // A list node read from a file may repeat an earlier node's key: it gets a key of its own first, or the
    // element, saved, would name the earlier node as its parent.
    if (const QString& listKey = tree().node(node).key; tree().find(listKey) != node) {
        int counter = 0;
        program_.tree.setKey(node, tree().freeKey(listKey, counter));
    }
    const QString& text = elementList_[listIndex];
    // A taken key gets the digits of a counter appended to the key tried last: text, text1, text12 ...
    // The file cuts a key to its key field, so copies of a long text store one key.
    QString key = text;
    for (int counter = 1; tree().contains(key); ++counter)
        key += QString::number(counter);
    program_.tree.add(node, key, text, int16_t(elementBaseCode_ + listIndex));
    enableSaveWhenPopulated();
    return true;
}

QStringList LadderEditor::ShowElementUse(const QString& text) const {
    QStringList lines;
    const QString pattern = base::Trim(text);
    if (text.isEmpty())
        return lines;
    // Element nodes only: a renamed rung whose text begins like an element has no rung above it.
    for (int i = 1; i < tree().count(); ++i) {
        if (!program_.isElement(i) || !tree().node(i).text.startsWith(pattern))
            continue;
        const int rung = tree().node(tree().node(i).parent).parent;
        lines.append(text + QStringLiteral(" - ") + tree().node(rung).text);
    }
    return lines;
}

void LadderEditor::setCounterPreset(int n, double value) {
    if (n < 1 || n > LadderPresets::Counters)
        return;
    program_.presets.setCounter(n, value);
    const int code = CounterCodeOffset + n;
    const QString prefix = counterPrefix(n);
    renamePresetNodes(counterText(n, presets().cwCounter(n)), [&](const LadderNode& node) {
        return node.image == code && node.key.startsWith(prefix);
    });
}

void LadderEditor::setTimerPreset(int n, double value) {
    if (n < 1 || n > LadderPresets::Timers)
        return;
    program_.presets.setTimer(n, value);
    const QString prefix = timerStartPrefix(n);
    renamePresetNodes(timerStartText(n, presets().cwTimer(n)),
                      [&](const LadderNode& node) { return node.text.startsWith(prefix); });
}

void LadderEditor::renamePresetNodes(const QString& text,
                                     const std::function<bool(const LadderNode&)>& shows) {
    // One key is carried through the run: a refused key gets a blank and the run's count of refusals
    // appended, and the next node starts from it (Counter 1 = 6, Counter 1 = 6 1, Counter 1 = 6 1 2 ...).
    int collisions = 0;
    bool carried = true;
    QString key = text;
    for (int i = 0; i < tree().count(); ++i) {
        // Element nodes only: a rung the user renamed like a timer start stays as it is.
        if (!program_.isElement(i) || !shows(tree().node(i)))
            continue;
        // The text is always the clean element text; only the key carries the digits that keep it unique.
        program_.tree.setText(i, text);
        while (!program_.tree.setKey(i, key)) {
            const QString count = u' ' + QString::number(++collisions);
            carried = carried && key.size() + count.size() <= LongestCarriedKey;
            key = (carried ? key : text) + count;
        }
    }
}

std::optional<LadderProgram> LadderEditor::readProject(const QString& path) const {
    return loadPlcFile(path, dialogs_);
}

void LadderEditor::adoptOpenedProject(LadderProgram program, const QString& path) {
    clearElementList();
    transferTrace_.clear();
    program_ = std::move(program);
    currentFileName_ = path;
    saveMenus_ = SaveMenus{false, true};
    statusText_ = FileLoadedStatus + path;
    projectReplaced();
    dialogs_.message(QStringLiteral("File Opened Successfully"), QStringLiteral("File Open"),
                     base::MessageIcon::Exclamation);
}

bool LadderEditor::writeProject(const QString& path) const {
    QString error;
    if (writePlcFile(path, program_, &error))
        return true;
    reportWriteFailure(path, error);
    return false;
}

bool LadderEditor::writePrintout(const QString& path) const {
    QString error;
    if (base::writeTextLines(path, rungPrintout(tree()), &error))
        return true;
    reportWriteFailure(path, error);
    return false;
}

void LadderEditor::reportWriteFailure(const QString& path, const QString& error) const {
    dialogs_.message(QStringLiteral("Unable To Write File ") + QDir::toNativeSeparators(path) +
                         QStringLiteral("\r\n") + error,
                     FileErrorCaption, base::MessageIcon::Critical);
}

bool LadderEditor::saveAs(const QString& path) {
    if (!writeProject(path))
        return false;
    currentFileName_ = path;
    statusText_ = FileLoadedStatus + path;
    return true;
}

LadderImageBuild LadderEditor::buildSendImage() const {
    LadderImageBuild build = buildLadderImage(program_);
    if (!build.ok)
        dialogs_.message(build.errorText, TransferErrorCaption, base::MessageIcon::Critical);
    return build;
}

bool LadderEditor::BuildRungTree(const LadderImage& image) {
    newProject();
    std::optional<LadderProgram> rebuilt = rebuildLadderProgram(image);
    if (!rebuilt) {
        dialogs_.message(RungLimitText, PlcWarningCaption, base::MessageIcon::Critical);
        return false;
    }
    program_ = std::move(*rebuilt);
    saveMenus_ = SaveMenus{true, true};
    projectReplaced();
    dialogs_.message(QStringLiteral("Logic I/O Transfer Completed"),
                     QStringLiteral("File Transfer Successful"), base::MessageIcon::Information);
    return true;
}

void LadderEditor::enableSaveWhenPopulated() {
    if (tree().count() >= SaveableNodes)
        saveMenus_ = SaveMenus{true, true};
}

} // namespace ladder
