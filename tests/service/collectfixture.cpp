#include "tests/service/collectfixture.h"

#include "base/textlines.h"
#include "logicio/logicimage.h"

#include <QFile>
#include <QRegularExpression>

namespace collecttest {

namespace {

constexpr int DspBlockBytes = 128;

// A 16-bit value low byte first at entry at of a Pset.
void putWord(sim::ControllerModel::PsetBytes& p, int at, int value) {
    p[size_t(at)] = value & 0xFF;
    p[size_t(at + 1)] = (value >> 8) & 0xFF;
}

// Rundown record r (1-based): result, torque hi/lo, angle hi/lo, torque X lo/hi.
void putRundown(sim::ControllerModel::RundownLog& log, int r, std::initializer_list<int> bytes) {
    size_t at = size_t(7 * (r - 1));
    for (int b : bytes)
        log[at++] = uint8_t(b);
}

} // namespace

CollectFixture::CollectFixture() {
    seedController();
}

void CollectFixture::seedController() {
    model.psetCount = 2;
    sim::ControllerModel::PsetBytes p1{};
    p1[0] = 2;    // strategy: torque control / angle monitor
    p1[1] = 0xF4; // target 500 tenths: "50"
    p1[2] = 0x01;
    putWord(p1, 3, 550); // high limit 55
    putWord(p1, 5, 450); // low limit 45
    p1[7] = 1;           // ergo
    putWord(p1, 8, 55);  // threshold 5.5
    putWord(p1, 10, 400);
    putWord(p1, 12, 20);
    p1[14] = 1;
    putWord(p1, 15, 0);
    p1[17] = 0x05; // angle high limit 5 tenths: "0.5"
    p1[18] = 0x00;
    putWord(p1, 19, 0);
    p1[21] = 1; // soft start
    putWord(p1, 22, 10000);
    putWord(p1, 24, 1000);
    p1[26] = 5; // Nm
    p1[27] = 1;
    sim::ControllerModel::PsetBytes p2 = p1;
    p2[0] = 31;
    putWord(p2, 1, 0xFFFF); // the largest target: 6553.5, never negative
    putWord(p2, 3, 0x8000);
    p2[7] = 0;
    p2[21] = 2; // a soft start byte other than 0 and 1 is kept as it came
    p2[26] = 1;
    p2[27] = 2;
    model.psets[1] = p1;
    model.psets[2] = p2;

    for (int a = 0; a < sim::ControllerModel::ToolEepromSize; ++a)
        model.toolEeprom[size_t(a)] = uint8_t(toolByte(a));
    for (int a = 0; a < DspBlockBytes; ++a)
        model.dspBytes[size_t(a)] = uint8_t((a * 5 + 2) & 0xFF);

    model.dspBytes[88] = 0x39; // light ring: Cw Fwd, Center Rev, Ccw Aux
    model.dspBytes[89] = 0;
    model.dspBytes[102] = 0; // start delay off
    model.dspBytes[103] = 0;
    model.dspBytes[108] = 0; // multiple function disabled
    model.dspBytes[109] = 0;

    // Rung 1: "Input 1 On" OR "Input 2 Off" -> "Timer 2 Start" for 30 s; rung 20: counter 3 = 7.
    logicio::LogicRungs program;
    program[1].In1 = logicio::codeWord(1, 0);
    program[1].In2 = logicio::codeWord(14, 0);
    program[1].Op1 = 1;
    program[1].Out1 = logicio::codeWord(72, 30);
    program[20].In1 = logicio::codeWord(35, 7);
    program[20].Out2 = logicio::codeWord(5, 0);
    const logicio::LogicImage image = logicio::EncodeLogic(program);
    std::vector<int> words;
    for (int i = 0; i < logicio::LogicImage::Words; ++i)
        words.push_back(image.word(i));
    model.storeLogicWords(words);

    sim::ControllerModel::RundownLog log1{};
    putRundown(log1, 1, {0x21, 0x01, 0xF4, 0x00, 0x2D, 0xF4, 0x01});   // ACCEPT (code 1), 25.00, 45, 25
    putRundown(log1, 2, {0x02, 0x02, 0x26, 0x01, 0x2C, 0x26, 0x02});   // TH
    putRundown(log1, 3, {0x06, 0x01, 0xC2, 0x00, 0x5A, 0xC2, 0x01});   // code 6 has no text
    putRundown(log1, 4, {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00});   // torque 0: no line
    putRundown(log1, 5, {0x14, 0x00, 0x05, 0x00, 0x00, 0x05, 0x00});   // TL/AL, 0.25
    putRundown(log1, 100, {0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}); // TL/AH, largest values
    sim::ControllerModel::RundownLog log2{};
    putRundown(log2, 7, {0x08, 0x00, 0x64, 0x01, 0x00, 0x64, 0x00}); // AH
    model.rundownLogs = {{1, log1}, {2, log2}};
}

QStringList CollectFixture::lines(const QString& name) const {
    return base::splitLines(bytes(name));
}

QStringList maskClock(const QStringList& lines) {
    static const QRegularExpression clock(QStringLiteral("^((Time|Date|TIME|DATE) +: ).*$"));
    QStringList masked;
    for (const QString& line : lines) {
        QString copy = line;
        masked << copy.replace(clock, QStringLiteral("\\1*"));
    }
    return masked;
}

QByteArray goldenBytes(const QString& name) {
    QFile f(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << "missing golden file " << name.toStdString();
    return f.readAll();
}

void expectGoldenLines(const QStringList& actual, const QString& name) {
    const QStringList expected = base::splitLines(goldenBytes(name));
    ASSERT_EQ(actual.size(), expected.size()) << actual.join(u'\n').toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString())
            << name.toStdString() << " line " << i + 1;
}

} // namespace collecttest
