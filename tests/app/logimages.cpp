#include "tests/app/logimages.h"

#include "app/reports/rundownreport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace logtest {

using namespace app;

void expectGolden(const QStringList& actual, const QString& name) {
    QFile f(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing golden file " << name.toStdString();
    QStringList expected = QString::fromLatin1(f.readAll()).split(u'\n');
    if (!expected.isEmpty() && expected.back().isEmpty())
        expected.removeLast();
    ASSERT_EQ(actual.size(), expected.size()) << actual.join(u'\n').toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString())
            << name.toStdString() << " line " << i + 1;
}

clink::DataBufferArray rundownLog() {
    clink::DataBufferArray D;
    putRundown(D, 0, 1, {0x41, 0x03, 0xE8, 0x00, 0x2D, 0xE8, 0x03}); // ACCEPT (low five bits), 50.00 / 50
    // record 2 empty: no line
    putRundown(D, 0, 3, {0x02, 0x04, 0xB0, 0x01, 0x2C, 0x10, 0x04});   // TH, 60.00, angle 300, X 52
    putRundown(D, 0, 4, {0x07, 0x00, 0x01, 0x00, 0x00, 0x03, 0x00});   // unknown code 7
    putRundown(D, 0, 5, {0x00, 0x00, 0x0A, 0x00, 0x05, 0x00, 0x00});   // code 0 is ACCEPT
    putRundown(D, 0, 6, {0x12, 0x00, 0x00, 0x00, 0x09, 0x11, 0x00});   // torque 0: no line
    putRundown(D, 0, 50, {0x0C, 0x01, 0x00, 0x00, 0x5A, 0x00, 0x01});  // TL/AH
    putRundown(D, 0, 100, {0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}); // TL/AL, largest values
    return D;
}

clink::DataBufferArray routeBuffer() {
    clink::DataBufferArray D;
    putBytes(D, 0, {1, 0x81, 5, 3, 14, 0});
    putBytes(D, LoggerPsetBlockIndex + LoggerPsetEntries * (RouteFile - 1),
             {0x01, 0xF4, 0x02, 0x26, 0x01, 0xC2, 0x00, 0x5A, 0x00, 0x0A, 0x00, 0x05});
    putRundown(D, LoggerRecordsIndex, 1, {0x01, 0x03, 0xE8, 0x00, 0x2D, 0xE8, 0x03});
    putRundown(D, LoggerRecordsIndex, 2, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    putRundown(D, LoggerRecordsIndex, 3, {0x08, 0x01, 0xF7, 0x00, 0x64, 0xF7, 0x01});
    putRundown(D, LoggerRecordsIndex, 4, {0x1F, 0x00, 0x64, 0x01, 0x00, 0x64, 0x00});
    return D;
}

clink::DataBufferArray readingsBuffer() {
    clink::DataBufferArray D;
    putBytes(D, 0, {1, 14, 20, 6, 1, 1});
    putBytes(D, LoggerRecordsIndex, {0x03, 0xE8, 0x00, 0x00, 0x27, 0x10, 0xFF, 0xFF});
    return D;
}

std::vector<uint8_t> loggerImage(const clink::DataBufferArray& D, int file, int records, int recordBytes) {
    constexpr int LoggerLocations = 65536;
    std::vector<uint8_t> mem(LoggerLocations, 0);
    for (int i = 0; i < LoggerDirectoryEntries; ++i)
        mem[size_t(loggerDirectoryAddress(file) + i)] = uint8_t(D[i]);
    for (int i = 0; i < LoggerPsetEntries * LoggerFiles; ++i)
        mem[size_t(LoggerPsetBlockFirst + i)] = uint8_t(D[LoggerPsetBlockIndex + i]);
    for (int i = 0; i <= records * recordBytes; ++i)
        mem[size_t(loggerRecordsAddress(file) + i)] = uint8_t(D[LoggerRecordsIndex + i]);
    return mem;
}

sim::ControllerModel::RundownLog rundownLogBytes() {
    const clink::DataBufferArray D = rundownLog();
    sim::ControllerModel::RundownLog log{};
    for (int i = 0; i < sim::ControllerModel::RundownLogBytes; ++i)
        log[size_t(i)] = uint8_t(D[i]);
    return log;
}

bool holdsRundownLog(const clink::DataBufferArray& D) {
    const clink::DataBufferArray log = rundownLog();
    for (int i = 0; i < app::RundownLogBytes; ++i)
        if (D[i] != log[i])
            return false;
    return true;
}

} // namespace logtest
