#include "service/logiccollector.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/programcore.h"
#include "ladder/laddermodule.h"
#include "ladder/laddertransfer.h"
#include "logicio/logiceditor.h"
#include "logicio/logicfile.h"
#include "logicio/logicmodule.h"
#include "logicio/logictransfer.h"
#include "service/collectselection.h"

namespace service {

bool LogicIoCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    page.setBar(0);
    if (!app::LinkGate(tools_.ctx.link).preCheck(clink::ids::CommandReply, {.usb = clink::UsbCheck::Plain}))
        return false;
    page.setBar(LinkChecked);
    const int type = ctx.link.dataTx.SendSystemCommand();
    page.setBar(TypeAsked);
    page.setBar(Receiving);
    // Any other type goes to the rung-table receive, which refuses the controllers below type 4 itself.
    if (type == LadderControllerType)
        return collectLadder(base + LadderFileEnding, page);
    return collectRungTable(base + LogicFileEnding, page);
}

bool LogicIoCollector::collectRungTable(const QString& path, CollectorPage& page) {
    page.showEditor(ProgramEditor::LogicIo);
    logicio::LogicEditor editor(logic_, logicio::LogicVariant::Version2);
    if (!logicio::LogicTransfer(tools_.ctx, editor).receive().ok())
        return false;
    if (!mayReplace(path, page))
        return false;
    QString error;
    if (!logicio::writeLogicFile(path, logic_.rungs(), &error)) {
        tools_.writeFailed(path, error);
        return false;
    }
    page.setBar(Done);
    page.closeEditor(ProgramEditor::LogicIo);
    return true;
}

bool LogicIoCollector::collectLadder(const QString& path, CollectorPage& page) {
    page.showEditor(ProgramEditor::Ladder);
    ladder::LadderEditor& editor = ladder_.editor();
    if (!ladder::LadderTransfer(tools_.ctx, editor).receive().ok())
        return false;
    if (!mayReplace(path, page))
        return false;
    // A program that holds only the root has nothing to keep: no file is written, and the collection
    // goes on as after a write. A failed write is reported by the editor.
    if (editor.tree().count() > RootOnly && !editor.writeProject(path))
        return false;
    page.closeEditor(ProgramEditor::Ladder);
    page.setBar(Done);
    return true;
}

bool LogicIoCollector::mayReplace(const QString& path, CollectorPage& page) const {
    const bool replace = !app::ProgramCore::FileExists(path) ||
                         tools_.ctx.dialogs.askOkCancel(logicio::OverwriteText, logicio::OverwriteCaption);
    page.setBar(Received);
    return replace;
}

} // namespace service
