#include "app/curvefile.h"

#include "base/linereader.h"
#include "base/numbertext.h"
#include "base/torque.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace app {

namespace {

const QString NoCurve = QStringLiteral("None");
constexpr int HeaderLines = 10;
// Raw samples are unsigned 16-bit: above 32767 they stand for value - 65536.
constexpr double LargestPositiveRaw = 32767;
constexpr double RawWrap = 65536;
// Raw samples are tenths of a unit.
constexpr double TenthsPerUnit = 10;
constexpr double MillisecondsPerSecond = 1000;

int16_t roundedSample(double v) {
    if (const auto rounded = base::CInt(v))
        return *rounded;
    return v < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

} // namespace

bool LoadCurveFile(const QString& path, int16_t units, CurveData& curve) {
    if (path.isEmpty() || path.startsWith(NoCurve))
        return false;
    // Only a regular file of a curve file's size: reading a FIFO or a device would wait for a writer or
    // never end.
    QFile file(path);
    if (!base::openBoundedFile(file, MaxCurveFileBytes))
        return false;
    QStringList lines;
    base::LineReader reader(file);
    while (lines.size() < HeaderLines + CurveData::MaxSamples) {
        std::optional<QString> line = reader.next();
        if (!line)
            break;
        lines.append(std::move(*line));
    }
    if (reader.failed() || lines.size() < HeaderLines || !base::isNumberText(lines.first()))
        return false;

    const qsizetype count = std::min<qsizetype>(lines.size() - HeaderLines, CurveData::MaxSamples);
    int16_t maxValue = 0;
    int16_t minValue = CurveData::MinValueStart;
    for (qsizetype i = 0; i < count; ++i) {
        double v = base::textValue(lines[HeaderLines + i]);
        if (v > LargestPositiveRaw)
            v -= RawWrap;
        v = base::ConvertTorque(v, base::LbIn, units) / TenthsPerUnit;
        curve.CurveSamples[std::size_t(i)] = v;
        if (v > maxValue)
            maxValue = roundedSample(v);
        if (v < minValue)
            minValue = roundedSample(v);
    }
    curve.CurveSampleCount = int16_t(count);
    curve.CurveMaxValue = maxValue;
    curve.CurveMinValue = minValue;

    const double step = base::textValue(lines.first()) / MillisecondsPerSecond;
    for (qsizetype i = 0; i <= count; ++i)
        curve.CurveTimes[std::size_t(i)] = double(i) * step;
    return true;
}

} // namespace app
