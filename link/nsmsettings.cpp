#include "link/nsmsettings.h"

#include "base/numbertext.h"
#include "link/databuffer.h"

namespace clink {

namespace {
struct ItemSource {
    int location;
    bool onOff;
    QString label;   // numbers: label followed by the value
    QString offText; // on/off settings: the texts of 0 and 1
    QString onText;
};

// Items 0..7 in order; items 6 and 7 come from locations 8 and 7.
const std::array<ItemSource, NsmSettingsRecord::Items>& itemSources() {
    static const std::array<ItemSource, NsmSettingsRecord::Items> sources = {{
        {1, true, {}, QStringLiteral("Run Rev Tq Check: Off"), QStringLiteral("Run Rev Tq Check: On")},
        {2, false, QStringLiteral("Number Of Retries: "), {}, {}},
        {3, false, QStringLiteral("Reverse Timer: "), {}, {}},
        {4, false, QStringLiteral("Number Of Spindles: "), {}, {}},
        {5, false, QStringLiteral("Button Latch Timer: "), {}, {}},
        {6, true, {}, QStringLiteral("System Type: Latched"), QStringLiteral("System Type: Deadman")},
        {8, true, {}, QStringLiteral("Buttons: MID"), QStringLiteral("Buttons: I/O")},
        {7, true, {}, QStringLiteral("Collect Data: No"), QStringLiteral("Collect Data: Yes")},
    }};
    return sources;
}
} // namespace

void fillNsmSettings(NsmSettingsRecord& settings, DataBufferArray& db) {
    for (size_t i = 0; i < settings.items.size(); ++i) {
        const ItemSource& src = itemSources()[i];
        NsmSettingItem& item = settings.items[i];
        int value = db[src.location];
        if (src.onOff && value > 1) {
            value = 1;
            db.put(src.location, value);
        }
        item.value = int16_t(value);
        const QString text =
            src.onOff ? (value == 0 ? src.offText : src.onText) : src.label + QString::number(value);
        item.text = base::fixed40(text);
    }
}

} // namespace clink
