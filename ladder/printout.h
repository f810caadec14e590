#pragma once
// The rung printout: one line per tree node in creation order, the root first, each the node's path of
// texts from the root down joined by "\", texts with their blanks. Written with CR LF line ends.

#include "ladder/laddertree.h"

#include <QStringList>

namespace ladder {

QStringList rungPrintout(const LadderTree& tree);

} // namespace ladder
