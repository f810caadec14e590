#include "service/serialdevices.h"

#include <algorithm>
#include <array>

namespace service {

namespace {
constexpr int FieldCount = 4;

struct ParityLetter {
    QChar letter;
    base::Parity parity;
};
constexpr std::array<ParityLetter, 5> ParityLetters = {{
    {u'n', base::Parity::None},
    {u'e', base::Parity::Even},
    {u'o', base::Parity::Odd},
    {u'm', base::Parity::Mark},
    {u's', base::Parity::Space},
}};

struct StopBitsText {
    const char* text;
    base::StopBits bits;
};
constexpr std::array<StopBitsText, 3> StopBitsTexts = {{
    {"1", base::StopBits::One},
    {"1.5", base::StopBits::OneAndHalf},
    {"2", base::StopBits::Two},
}};
} // namespace

std::optional<base::SerialSettings> parseLineSettings(const QString& text) {
    const QStringList fields = text.split(u',');
    if (fields.size() != FieldCount)
        return std::nullopt;
    base::SerialSettings settings;
    bool ok = false;
    settings.baudRate = fields[0].trimmed().toInt(&ok);
    if (!ok || settings.baudRate <= 0)
        return std::nullopt;
    const QString parity = fields[1].trimmed().toLower();
    const auto letter = std::find_if(ParityLetters.begin(), ParityLetters.end(),
                                     [&](const ParityLetter& p) { return parity == p.letter; });
    if (letter == ParityLetters.end())
        return std::nullopt;
    settings.parity = letter->parity;
    settings.dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    const QString stop = fields[3].trimmed();
    const auto bits = std::find_if(StopBitsTexts.begin(), StopBitsTexts.end(),
                                   [&](const StopBitsText& s) { return stop == QLatin1String(s.text); });
    if (bits == StopBitsTexts.end())
        return std::nullopt;
    settings.stopBits = bits->bits;
    return settings;
}

QString lineSettingsText(const base::SerialSettings& settings) {
    QChar parity = u'n';
    for (const ParityLetter& p : ParityLetters) {
        if (p.parity == settings.parity)
            parity = p.letter;
    }
    QString stop;
    for (const StopBitsText& s : StopBitsTexts) {
        if (s.bits == settings.stopBits)
            stop = QLatin1String(s.text);
    }
    return QStringLiteral("%1,%2,%3,%4").arg(settings.baudRate).arg(parity).arg(settings.dataBits).arg(stop);
}

SerialDevices::SerialDevices(std::unique_ptr<QSettings> store) : store_(std::move(store)) {}

QStringList SerialDevices::available() {
    return base::availableSerialDevices();
}

QString SerialDevices::device(const QString& key) const {
    return base::chosenSerialDevice(*store_, key);
}

void SerialDevices::setDevice(const QString& key, const QString& device) {
    store_->setValue(key, device);
    store_->sync();
}

} // namespace service
