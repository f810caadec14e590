#pragma once
// The Pset editor's commands that talk to the controller: send the project's Psets, receive the
// controller's, erase them (reset), make one of them its current Pset (select), clear the rundowns it
// stores, read its status and send a serial number. Each reports its steps on the transfer panel (the
// report List1 shown in place of the graph) and ends in boxes. The caller holds the busy state; the
// project's table and its Pset list belong to the editor session.
//
//   pset::PsetTransfer transfer(services, panel);     // panel: where the report goes
//   if (transfer.send(table, scaled))                 // checked, erased, four packets per Pset
//       ... every packet acknowledged, the panel still shown ...

#include "app/psettable.h"
#include "app/transferchecks.h"
#include "pset/psetpackets.h"

#include <QString>

#include <vector>

namespace app {
class AppServices;
}

namespace pset {

// Where a Pset transfer reports: the lines of its report (List1), and the panel that shows them in place of
// the graph.
class TransferPanel {
public:
    virtual ~TransferPanel() = default;
    virtual void addLine(const QString& line) = 0;
    virtual void clearList() = 0;
    // The panel replaces the graph; its lines are cleared.
    virtual void ShowTransferPanel() = 0;
    virtual void HideTransferPanel() = 0;
};

// Whether a status read that gets no answer shows its own box: not after a receive that has already
// reported its failure, so that one failure makes one box.
enum class StatusFailure { Report, Quiet };

class PsetTransfer {
public:
    PsetTransfer(app::AppServices& services, TransferPanel& panel);

    // The controller's status into the link state (its Pset count and current Pset); a box when it does not
    // come, unless quiet.
    bool readStatus(StatusFailure failure = StatusFailure::Report);
    // Sends Psets 1..count of the table: every Pset checked and packed before anything is erased (scaled
    // takes their scaled texts), the link checked, the controller's Psets erased, the link checked again,
    // four packets per Pset. True once every packet was acknowledged; the panel is still shown then.
    bool send(const app::PsetTable& table, app::PsetTable& scaled);
    // Receives the controller's Psets (at most 8) into received, with their count, on a shown panel that is
    // hidden again: the link set up, the status read, each Pset reported as it came and converted into the
    // default units. False after the failure's box.
    bool receive(app::PsetTable& received);
    // After a Yes, erases the controller's Psets. A call while a reset runs (the offer of a status read
    // inside it) is ignored.
    void reset();
    // Makes the chosen Pset ("1".."8", blanks around allowed) the controller's current one; any other text
    // sends nothing.
    void select(const QString& text);
    // After a Yes, erases the rundowns stored in the controller.
    void clearRundowns();
    // Asks for a serial number and sends it in the serial-number frame over Ethernet (no reply awaited).
    void sendSerialNumber();

private:
    void failBox(const QString& text, const QString& caption);
    bool checkAndPack(const app::PsetTable& table, app::PsetTable& scaled, std::vector<PsetPacket>& packets);
    bool sendLinkReady(const QString& parallelFailText);
    bool sendPackets(int count, const std::vector<PsetPacket>& packets);
    bool receiveStatus();
    bool clearRundownsLink();

    app::AppServices& services_;
    TransferPanel& panel_;
    app::TransferChecks checks_;
    bool resetRunning_ = false;
};

} // namespace pset
