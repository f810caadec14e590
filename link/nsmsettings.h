#pragma once
// The NSM unit's settings as read from its locations 1..8: eight items, each a value and a fixed
// 40-character text.

#include <QString>

#include <array>
#include <cstdint>

namespace clink {

class DataBufferArray;

struct NsmSettingItem {
    int16_t value = 0;
    QString text;
};

struct NsmSettingsRecord {
    static constexpr int Items = 8;
    // NSM locations 0..8 are read; location 0 is not a setting.
    static constexpr int Locations = 9;
    std::array<NsmSettingItem, Items> items{};
};

// Fills the items from NSM locations 1..8 in DataBuffer(1..8). The on/off settings (locations 1, 6, 7
// and 8) read as 1 when above 1, in DataBuffer as well.
void fillNsmSettings(NsmSettingsRecord& settings, DataBufferArray& locations);

} // namespace clink
