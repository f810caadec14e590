#include "service/logiccollector.h"

#include "app/appservices.h"
#include "app/palverin2006.h"
#include "logicio/logiceditor.h"
#include "logicio/logicfile.h"
#include "logicio/logicmodule.h"
#include "logicio/logictransfer.h"
#include "service/collectselection.h"

namespace service {

bool LogicIoCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    page.setBar(0);
    if (!tools_.linkCheck(clink::ids::CommandReply, clink::UsbCheck::Plain))
        return false;
    page.setBar(LinkChecked);
    // The controller's logic system: the rung-table receive takes the controllers of type 4 and above and
    // refuses the others with its own message.
    ctx.link.dataTx.SendSystemCommand();
    page.setBar(TypeAsked);
    page.setBar(Receiving);
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

bool LogicIoCollector::mayReplace(const QString& path, CollectorPage& page) const {
    const bool replace = !app::Palverin2006::FileExists(path) ||
                         tools_.ctx.dialogs.askOkCancel(logicio::OverwriteText, logicio::OverwriteCaption);
    page.setBar(Received);
    return replace;
}

} // namespace service
