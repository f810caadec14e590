// The controller logic image word by word for both variants: rungs, OR marks, timer presets, the words
// that travel and their listing; decoding received images, presets out of range and garbage words.
#include "base/textlines.h"
#include "link/databuffer.h"
#include "logicio/logiccatalogue.h"
#include "logicio/logiceditor.h"
#include "logicio/logicimage.h"
#include "tests/logicio/logicfixture.h"

using namespace logicio;

namespace {

void setCondition(LogicRung& rung, int k, int index, int value = 0) {
    rung.in(k) = codeWord(index, value);
    rung.inText(k) = ConditionText(index);
}

void setAction(LogicRung& rung, int k, int index, int value = 0) {
    rung.out(k) = codeWord(index, value);
    rung.outText(k) = ActionText(LogicVariant::Version3, index);
}

int nonZeroWords(const LogicImage& image) {
    int count = 0;
    for (int i = 0; i < LogicImage::Words; ++i)
        count += image.word(i) != 0;
    return count;
}

} // namespace

TEST(LogicImage, RungsFillTwelveWordsEachWithOrMarksAndTimerPresets) {
    LogicRungs rungs;
    EXPECT_EQ(nonZeroWords(EncodeLogic(rungs)), 0);

    setCondition(rungs[1], 1, 1);
    setCondition(rungs[1], 2, 14);
    rungs[1].Op1 = OrOperator;
    rungs[2].Op1 = OrOperator; // before an empty condition 2
    setCondition(rungs[2], 3, 43, 200);
    setCondition(rungs[5], 1, 56, 200);
    setAction(rungs[3], 2, 72, 5);
    setAction(rungs[7], 4, 72, 10); // the later start of timer 2 sets its preset
    setAction(rungs[8], 1, 73, 240);
    setAction(rungs[9], 3, 71, 30);
    setAction(rungs[9], 1, 108);
    const LogicImage image = EncodeLogic(rungs);
    EXPECT_EQ(image.word(0), 1);
    EXPECT_EQ(image.word(1), 0);
    EXPECT_EQ(image.word(2), 142);
    EXPECT_EQ(image.word(3), 0);
    EXPECT_EQ(image.word(14), 128);
    EXPECT_EQ(image.word(15), 0);
    EXPECT_EQ(image.word(16), 43);
    EXPECT_EQ(image.word(17), 200);
    EXPECT_EQ(image.word(48), 56);
    EXPECT_EQ(image.word(49), 200);
    EXPECT_EQ(image.word(24 + 9), 72);
    EXPECT_EQ(image.word(72 + 11), 72);
    EXPECT_EQ(image.word(84 + 8), 73);
    EXPECT_EQ(image.word(96 + 8), 108);
    EXPECT_EQ(image.word(96 + 10), 71);
    EXPECT_EQ(image.word(616), 2); // timer 1: 30 s = 600 ticks
    EXPECT_EQ(image.word(617), 88);
    EXPECT_EQ(image.word(618), 0); // timer 2: 10 s = 200 ticks
    EXPECT_EQ(image.word(619), 200);
    EXPECT_EQ(image.word(620), 18); // timer 3: 240 s = 4800 ticks
    EXPECT_EQ(image.word(621), 192);
    EXPECT_EQ(nonZeroWords(image), 17);

    LogicRungs decoded;
    DecodeLogic(LogicVariant::Version3, image, decoded);
    EXPECT_EQ(decoded[1].Op1Text, QStringLiteral("OR"));
    EXPECT_EQ(decoded[1].In2Text, QStringLiteral("Input 2 Off"));
    EXPECT_EQ(decoded[2].Op1, 1);
    EXPECT_EQ(decoded[2].In2, 0);
    EXPECT_EQ(decoded[2].In3Text, QStringLiteral("Counter 3 >  200"));
    EXPECT_EQ(decoded[5].In1Text, QStringLiteral("Counter 8 <  200"));
    EXPECT_EQ(decoded[3].Out2, codeWord(72, 10));
    EXPECT_EQ(decoded[3].Out2Text, QStringLiteral("Timer 2 Start  (10 Sec)"));
    EXPECT_EQ(decoded[7].Out4Text, QStringLiteral("Timer 2 Start  (10 Sec)"));
    EXPECT_EQ(decoded[8].Out1, 18928);
    EXPECT_EQ(decoded[9].Out3Text, QStringLiteral("Timer 1 Start  (30 Sec)"));
    EXPECT_EQ(decoded[9].Out1Text, QStringLiteral("Reset/Prev Batch"));
    EXPECT_EQ(decoded[1].InputSummary, QStringLiteral("Input  -> Input 1 On  OR  Input 2 Off"));
    EXPECT_EQ(decoded[9].OutputSummary,
              QStringLiteral("Output -> Reset/Prev Batch    Timer 1 Start  (30 Sec)"));

    LogicRungs v2Texts;
    DecodeLogic(LogicVariant::Version2, image, v2Texts);
    EXPECT_EQ(v2Texts[9].Out1Text, QString());
    EXPECT_EQ(v2Texts[9].Out1, codeWord(108, 0));
}

TEST(LogicImage, OneStartPerTimerRoundTripsToTheSameCodes) {
    LogicRungs rungs;
    for (int r = 1; r <= 20; ++r) {
        setCondition(rungs[r], 1, r);
        setCondition(rungs[r], 2, 32 + r, 3 * r);
        rungs[r].In2Text = counterText(rungs[r].In2Text, QString::number(3 * r));
        setCondition(rungs[r], 4, 88);
        rungs[r].Op3 = r % 2;
        rungs[r].Op3Text = OperatorText(r % 2);
        setAction(rungs[r], 1, 100 + r % 9);
        setAction(rungs[r], 3, r);
    }
    const auto startTimer = [&](int r, int k, int index, int seconds) {
        setAction(rungs[r], k, index, seconds);
        rungs[r].outText(k) = timerText(rungs[r].outText(k), QString::number(seconds));
    };
    startTimer(4, 2, 71, 72);
    startTimer(11, 4, 72, 30);
    startTimer(20, 2, 73, 1);
    for (int r = 1; r <= 20; ++r)
        rebuildSummaries(rungs[r], SummaryForm::Refresh);

    LogicRungs decoded;
    DecodeLogic(LogicVariant::Version3, EncodeLogic(rungs), decoded);
    for (int r = 1; r <= 20; ++r)
        EXPECT_EQ(decoded[r], rungs[r]) << "rung " << r;
}

TEST(LogicImage, ReceivedWordsOfAnyValueDecodeWithoutFault) {
    LogicImage image;
    image.setWord(0, 128 + 5); // condition 1 never carries a mark
    image.setWord(2, 200);     // OR and condition 72
    image.setWord(3, 7);
    image.setWord(4, 255); // OR and index 127, past the table
    image.setWord(8, 255);
    image.setWord(9, 71);
    image.setWord(10, 72);
    image.setWord(11, 73);
    image.setWord(616, 18); // 4799 ticks
    image.setWord(617, 191);
    image.setWord(618, 20); // 5200 ticks: 260 s, held to 255
    image.setWord(619, 80);
    image.setWord(620, 255); // 65535 ticks
    image.setWord(621, 255);
    LogicRungs rungs;
    DecodeLogic(LogicVariant::Version3, image, rungs);
    const LogicRung& rung = rungs[1];
    EXPECT_EQ(rung.In1, codeWord(5, 0));
    EXPECT_EQ(rung.Op1, 1);
    EXPECT_EQ(rung.In2, codeWord(72, 7));
    EXPECT_EQ(rung.In2Text, QStringLiteral("Current Parameter Set = 8"));
    EXPECT_EQ(rung.In3, codeWord(127, 0));
    EXPECT_EQ(rung.In3Text, QString());
    EXPECT_EQ(rung.Out1, codeWord(255, 0));
    EXPECT_EQ(rung.Out1Text, QString());
    EXPECT_EQ(rung.Out2, codeWord(71, 239));
    EXPECT_EQ(rung.Out2Text, QStringLiteral("Timer 1 Start  (239 Sec)"));
    EXPECT_EQ(rung.Out3, codeWord(72, 255));
    EXPECT_EQ(rung.Out3Text, QStringLiteral("Timer 2 Start  (255 Sec)"));
    EXPECT_EQ(codeIndex(rung.Out4), 73);
    EXPECT_EQ(rung.OutputSummary,
              QStringLiteral("Output ->     Timer 1 Start  (239 Sec)    Timer 2 Start  (255 Sec)    "
                             "Timer 3 Start  (255 Sec)"));
}

TEST(LogicImage, EncoderHoldsEveryWordToAByte) {
    LogicRungs rungs;
    rungs[1].In1 = -1;
    rungs[1].In2 = codeWord(300, 7);
    rungs[1].Op1 = 9;
    rungs[1].Out1 = codeWord(71 + 256, 250);
    const LogicImage image = EncodeLogic(rungs);
    for (int i = 0; i < LogicImage::Words; ++i) {
        EXPECT_GE(image.word(i), 0) << i;
        EXPECT_LE(image.word(i), 255) << i;
    }
    EXPECT_EQ(image.word(1), 255);
    EXPECT_EQ(image.word(2), (300 + 128) & 255);
    EXPECT_EQ(image.word(3), 7);
    EXPECT_EQ(image.word(8), 71);
    EXPECT_EQ(image.timerTicks(1), 5000);
}

TEST(LogicImage, EachVariantCopiesItsWordsAndGathersItsBlocks) {
    clink::DataBufferArray buffer;
    for (int i = 0; i < 720; ++i)
        buffer.put(i, 99); // stale contents of an earlier transfer
    LogicRungs rungs;
    setAction(rungs[1], 1, 72, 30);
    const LogicImage image = EncodeLogic(rungs);
    buffer.putWords(0, image.sentWords(LogicVariant::Version3));
    EXPECT_EQ(buffer[8], 72);
    EXPECT_EQ(buffer[619], 88);
    EXPECT_EQ(buffer[700], 0);
    EXPECT_EQ(buffer[701], 0) << "block 117 carries word 701";
    EXPECT_EQ(buffer[702], 99);
    buffer.putWords(0, image.sentWords(LogicVariant::Version2));
    EXPECT_EQ(buffer[650], 0);

    buffer.put(629, 11);
    buffer.put(630, 12);
    const LogicImage v2 = LogicImage::fromDataBuffer(buffer, LogicVariant::Version2);
    EXPECT_EQ(v2.word(619), 88);
    EXPECT_EQ(v2.word(629), 11);
    EXPECT_EQ(v2.word(630), 0);
    EXPECT_EQ(LogicImage::fromDataBuffer(buffer, LogicVariant::Version3).word(701), 0);
}

TEST(LogicImage, ListingsHaveTheVariantsLinesAndQuotes) {
    LogicRungs rungs;
    setCondition(rungs[1], 1, 1);
    const LogicImage image = EncodeLogic(rungs);
    const QStringList v2 = logicListing(LogicVariant::Version2, image);
    ASSERT_EQ(v2.size(), 651);
    EXPECT_EQ(v2[0], QStringLiteral("LogicIo[0] = 1"));
    EXPECT_EQ(v2[650], QStringLiteral("LogicIo[650] = 0"));
    const QStringList v3 = logicListing(LogicVariant::Version3, image);
    ASSERT_EQ(v3.size(), 707);
    EXPECT_EQ(v3[0], QStringLiteral("\"LogicIo[0] = 1\""));
    EXPECT_EQ(v3[706], QStringLiteral("\"LogicIo[706] = 0\""));
}

class LogicTransferCoreTest : public logictest::LogicFixture {};

TEST_F(LogicTransferCoreTest, SendWritesTheListingAndReceiveRefreshesEveryRung) {
    LogicEditor editor(module, LogicVariant::Version3);
    editor.load();
    setAction(module.rungs()[2], 1, 107);
    const LogicImage image = editor.encodeForSend();
    EXPECT_EQ(image.word(20), 107);
    const QByteArray listing = folder.read(QStringLiteral("NewLogic.txt"));
    EXPECT_TRUE(listing.startsWith("\"LogicIo[0] = 0\"\r\n"));
    EXPECT_EQ(base::splitLines(listing).size(), 707);

    editor.newProgram();
    editor.clickItem(1, QStringLiteral("Rung 1"));
    editor.decodeReceived(image, 5);
    EXPECT_EQ(editor.CurrentRung(), 20);
    EXPECT_EQ(module.rungs()[2].Out1Text, QStringLiteral("Next Batch"));
    EXPECT_EQ(editor.itemCaption(6), QStringLiteral("Output -> Next Batch"));
    editor.decodeReceived(image, 4);
    EXPECT_EQ(module.rungs()[2].Out1Text, QString());
    EXPECT_EQ(module.rungs()[2].Out1, codeWord(107, 0));
}
