#pragma once
// The Pset editor's commands that talk to the controller: send the project's Psets, receive the
// controller's, erase them (reset), make one of them its current Pset (select), clear the rundowns it
// stores, read its status and send a serial number. Each goes through the link's transactions, reports its
// steps on the transfer panel (the report List1 shown in place of the graph) and ends in boxes; the
// commands return what they came to, as the logic and ladder transfers do. The caller holds the busy state;
// the project's table and its Pset list belong to the editor session.
//
//   pset::PsetTransfer transfer(services, panel);            // panel: where the report goes
//   if (transfer.send(table, scaled).ok())                   // checked, erased, four packets per Pset
//       ... every packet acknowledged, the panel still shown ...

#include "app/psettable.h"
#include "app/transferchecks.h"
#include "pset/psetpackets.h"
#include "pset/transferpanel.h"

#include <QString>

#include <optional>
#include <vector>

namespace app {
class AppServices;
}

namespace pset {

class PsetTransfer {
public:
    PsetTransfer(app::AppServices& services, TransferPanel& panel);

    // The controller's status into the link state (its Pset count and current Pset); a box when it does not
    // come, unless quiet.
    bool readStatus(StatusFailure failure = StatusFailure::Report);
    // Sends Psets 1..count of the table: every Pset checked and packed before anything is erased (scaled
    // takes their scaled texts), the link checked, the controller's Psets erased, the link checked again,
    // four packets per Pset. Done once every packet was acknowledged; the panel is still shown then.
    app::TransferResult send(const app::PsetTable& table, app::PsetTable& scaled);
    // Receives the controller's Psets (at most 8) into received, with their count, on a shown panel that is
    // hidden again: the link set up, the status read, each Pset reported as it came and converted into the
    // default units.
    app::TransferResult receive(app::PsetTable& received);
    // After a Yes, erases the controller's Psets. A call while a reset runs (the offer of a status read
    // inside it) is ignored.
    app::TransferResult reset();
    // Makes the chosen Pset ("1".."8", blanks around allowed) the controller's current one; any other text
    // sends nothing.
    void select(const QString& text);
    // After a Yes, erases the rundowns stored in the controller.
    app::TransferResult clearRundowns();
    // Asks for a serial number and sends it in the serial-number frame over Ethernet (no reply awaited).
    app::TransferResult sendSerialNumber();

private:
    // The box that ends a command, and the same with the panel hidden after it.
    app::TransferResult failed(const QString& text, const QString& caption,
                               app::TransferOutcome outcome = app::TransferOutcome::Aborted);
    app::TransferResult failedAndHidden(const QString& text, const QString& caption,
                                        app::TransferOutcome outcome = app::TransferOutcome::Aborted);
    std::optional<app::TransferResult> checkAndPack(const app::PsetTable& table, app::PsetTable& scaled,
                                                    std::vector<PsetPacket>& packets);
    std::optional<app::TransferResult> sendPackets(int count, const std::vector<PsetPacket>& packets);
    std::optional<app::TransferResult> receiveStatus();

    app::AppServices& services_;
    TransferPanel& panel_;
    app::TransferChecks checks_;
    bool resetRunning_ = false;
};

} // namespace pset
