#include "link/linkstate.h"

#include "base/numbertext.h"
#include "base/torque.h"

namespace clink {

void buildSystemStatusRecord(LinkState& state, const std::array<int, 8>& d, StatusStore store) {
    SystemStatusRecord& s = state.SystemStatus;
    s.PsetCount = d[1];
    s.CurrentPset = d[2];
    s.StatusUnits = d[3];
    if (store == StatusStore::RecordAndBuffer)
        for (int i = 0; i < 4; ++i)
            state.DataBuffer.put(i, d[size_t(4 + i)]);
    if (const QString units = base::unitsText(s.StatusUnits); !units.isEmpty())
        s.SystemStatusLines[2] = base::fixed40(units);
    s.SystemStatusLines[0] =
        base::fixed40(QStringLiteral("Number Of Parameter Sets: ") + QString::number(s.PsetCount));
    s.SystemStatusLines[1] =
        base::fixed40(QStringLiteral("Current Parameter Set: ") + QString::number(s.CurrentPset));
    // The target is a configured value: unsigned 16-bit, sent multiplied by 10.
    const unsigned raw = (unsigned(d[5] & 0xFF) << 8) | unsigned(d[4] & 0xFF);
    s.StatusTarget = raw / 10.0;
    s.SystemStatusLines[3] =
        base::fixed40(QStringLiteral("Current Target: ") + base::numberText(s.StatusTarget));
}

} // namespace clink
