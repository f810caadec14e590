#include "link/canid.h"

namespace clink {

std::optional<CanId> parseCanId(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 8)
        return std::nullopt;
    bool ok = false;
    const uint value = t.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return CanId(value);
}

QString canIdText(CanId id) {
    return QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0')).toUpper();
}

std::array<int, 4> canIdBytes(CanId id) {
    return {int((id >> 24) & 0xFF), int((id >> 16) & 0xFF), int((id >> 8) & 0xFF), int(id & 0xFF)};
}

std::array<int, 4> canIdImage(CanId id) {
    return canIdBytes(id << 3);
}

CanId canIdFromImage(int b0, int b1, int b2, int b3) {
    const uint32_t byte1 = uint32_t(b0 & 0xFF) / 8;
    const uint32_t byte2 = uint32_t(b0 & 7) * 32 + uint32_t(b1 & 0xF8) / 8;
    const uint32_t byte3 = uint32_t(b1 & 7) * 32 + uint32_t(b2 & 0xF8) / 8;
    const uint32_t byte4 = uint32_t(b2 & 7) * 32 + uint32_t(b3 & 0xF8) / 8;
    return (byte1 << 24) | (byte2 << 16) | (byte3 << 8) | byte4;
}

} // namespace clink
