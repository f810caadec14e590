#pragma once
// The torque curve read last from a curve file (*.dat), shared by the curve window and the Pset editor.
//
// A curve file is text: lines 1 to 10 are a header of which only line 1 is used (a number N: the time
// between two samples is N / 1000); every later line holds one raw sample, an unsigned 16-bit value in
// tenths of lb-in (values above 32767 stand for negatives plus 65536).

#include <QString>

#include <cstdint>
#include <vector>

namespace app {

// A curve file holds ten header lines and the samples, one number per line; the readers use no more than
// MaxSamples of them. A file this large is far beyond any such file, blanks around its numbers included,
// and is refused unread.
inline constexpr qint64 MaxCurveFileBytes = 1024 * 1024;

struct CurveData {
    // The arrays hold indices 0..MaxSamples; a longer file is read up to MaxSamples samples.
    static constexpr int MaxSamples = 6000;
    static constexpr int16_t MinValueStart = 32000;

    // Samples in the caller's torque units; entries beyond CurveSampleCount keep older loads' values.
    std::vector<double> CurveSamples = std::vector<double>(MaxSamples + 1, 0.0);
    // Time of each sample, indices 0..CurveSampleCount.
    std::vector<double> CurveTimes = std::vector<double>(MaxSamples + 1, 0.0);
    int16_t CurveSampleCount = 0;
    // Largest / smallest sample rounded half to even; start at 0 / 32000 and only move past those.
    int16_t CurveMaxValue = 0;
    int16_t CurveMinValue = 0;
};

// Reads a curve file into curve, converting every sample from tenths of lb-in into units (1..5).
// Returns false and changes nothing when the path is empty or begins with "None" (case-sensitive: Pset
// records store "None" when they have no curve), or when the path is not a regular file (a folder, a FIFO,
// a device), the file cannot be read, is larger than MaxCurveFileBytes, has fewer than the 10 header lines
// or its line 1 is not a number. Only the header and the samples used are read.
bool LoadCurveFile(const QString& path, int16_t units, CurveData& curve);

} // namespace app
