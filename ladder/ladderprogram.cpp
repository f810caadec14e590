#include "ladder/ladderprogram.h"

#include "ladder/plcnoderecord.h"

namespace ladder {

namespace {

QString numbered(const char* name, int n) {
    return QString::fromLatin1(name) + u' ' + QString::number(n);
}

} // namespace

QString rungKey(int n) {
    return keyField(numbered("Rung", n));
}

QString inputsKey(int n) {
    return keyField(numbered("Inputs", n));
}

QString outputsKey(int n) {
    return keyField(numbered("Outputs", n));
}

bool isRootKey(const QString& key) {
    return key.startsWith(RootKey);
}

bool isRungKey(const QString& key) {
    return key.startsWith(QStringLiteral("Rung"));
}

bool isInputsKey(const QString& key) {
    return key.startsWith(QStringLiteral("Inputs"));
}

bool isOutputsKey(const QString& key) {
    return key.startsWith(QStringLiteral("Outputs"));
}

LadderProgram LadderProgram::empty(int16_t rootImage) {
    LadderProgram program;
    // The root is made through the record fields like every structural node, so its text carries
    // blanks up to 30 characters; only the printout and a window caption show it.
    program.tree.add(-1, keyField(RootKey), textField(RootText), rootImage);
    return program;
}

std::optional<int> LadderProgram::appendRung(int n) {
    const int root = tree.find(keyField(RootKey));
    if (root < 0 || tree.contains(rungKey(n)) || tree.contains(inputsKey(n)) || tree.contains(outputsKey(n)))
        return std::nullopt;
    const int rungNode = *tree.add(root, rungKey(n), textField(numbered("Rung", n)), RungImage);
    tree.add(rungNode, inputsKey(n), textField(QStringLiteral("Inputs")), InputsImage);
    tree.add(rungNode, outputsKey(n), textField(QStringLiteral("Outputs")), OutputsImage);
    return rungNode;
}

bool LadderProgram::isElement(int index) const {
    if (!tree.valid(index))
        return false;
    const int parent = tree.node(index).parent;
    if (!tree.valid(parent) || tree.node(parent).parent < 0)
        return false;
    const QString& listKey = tree.node(parent).key;
    return isInputsKey(listKey) || isOutputsKey(listKey);
}

} // namespace ladder
