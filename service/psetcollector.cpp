#include "service/psetcollector.h"

#include "app/appservices.h"
#include "base/failbox.h"
#include "pset/psetfile.h"
#include "pset/psetpackets.h"
#include "service/collectselection.h"

#include <algorithm>

namespace service {

namespace {
using app::PsetField;
// Where the received Pset holds its soft start and ergo bytes; the file keeps them as they came.
constexpr int SoftStartAt = 21;
constexpr int ErgoAt = 7;
const QString CollectedCurve = QStringLiteral("None*");
} // namespace

bool PsetCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    clink::LinkState& s = ctx.state;
    page.setBar(0);
    const QString path = base + PsetFileEnding;
    if (!ctx.link.dataTx.ReadSystemStatus()) {
        base::failBox(tools_.ctx.dialogs, QStringLiteral("Error getting system status"));
        return false;
    }
    const int count = s.SystemStatus.PsetCount;
    // The table holds Psets up to 10; the file takes 1..8 of them.
    const int read = std::min(count, app::PsetTable::Records - 1);
    double bar = 0;
    for (int p = 1; p <= read; ++p) {
        if (!ctx.link.dataTx.ReadPsetBlock(p)) {
            base::failBox(tools_.ctx.dialogs, QStringLiteral("Error getting Parameters"));
            return false;
        }
        pset::PsetBlock block{};
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = s.DataBuffer[int(i)] & 0xFF;
        app::PsetRecord& record = ctx.psetTable[p];
        pset::storeReceivedPset(block, record);
        record.setNumber(PsetField::SoftStart, block[SoftStartAt]);
        record.setNumber(PsetField::Ergo, block[ErgoAt]);
        record.setNumber(PsetField::NumPsets, count);
        record.setText(PsetField::CurveFile, CollectedCurve);
        bar += double(ReadsSpan) / count;
        page.setBar(int(bar));
    }
    QString error;
    if (!pset::savePsetFile(path, ctx.psetTable, &error)) {
        tools_.writeFailed(path, error);
        return false;
    }
    page.setBar(Done);
    return true;
}

} // namespace service
