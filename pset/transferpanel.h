#pragma once
// Where a Pset transfer (pset::PsetTransfer) reports, and how a status read that gets no answer is told: what
// the Pset editor's session and the Pset module give their transfer.

#include "app/transferchecks.h"

namespace pset {

// Where a Pset transfer reports: the lines of its report (List1), and the panel that shows them in place of
// the graph.
class TransferPanel : public app::TransferReport {
public:
    virtual void clearList() = 0;
    // The panel replaces the graph; its lines are cleared.
    virtual void ShowTransferPanel() = 0;
};

// Whether a status read that gets no answer shows its own box: not after a receive that has already
// reported its failure, so that one failure makes one box.
enum class StatusFailure { Report, Quiet };

} // namespace pset
