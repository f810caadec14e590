// Answers that come late, twice, or after their exchange ended: the exchange that follows never takes them as
// its own. Whole exchanges back to back against the stand-in's dongle holding, repeating (late, while later
// frames pass) or spacing its frames, delivering a byte at a time, repeating a stale status, or passing fault
// reports between them: a block receive and then DSP reads and writes, the serial output's read and then its
// set, a Pset chosen and the status read after it, a location read again after it changed or was written.
#include "link/blockreceive.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "logicio/logictransfer.h"
#include "service/serialout.h"
#include "tests/service/owedfixture.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

using namespace clink;
namespace codes = clink::codes;
using testsupport::Dongle;

namespace {

constexpr int Blocks = 4;
constexpr int DspWords = 6;
constexpr int DspFirstAddress = 0x40;

class OwedAcrossExchanges : public testsupport::OwedFixture {
protected:
    void SetUp() override {
        OwedFixture::SetUp();
        for (int block = 0; block <= Blocks; ++block)
            for (size_t i = 0; i < 6; ++i)
                model.logicBlocks[block][i] = uint8_t((block * 37 + int(i) * 11 + 5) & 0xFF);
        for (size_t i = 0; i < model.dspBytes.size(); ++i)
            model.dspBytes[i] = uint8_t((i * 29 + 3) & 0xFF);
    }

    // Receives blocks 1..Blocks as the editor with these counts does; every byte must be the controller's.
    void receiveBlocks(const clink::BlockReceiveCounts& counts) {
        clink::BlockReceiver receiver(link, counts);
        ASSERT_TRUE(receiver.receive(1, Blocks)) << "block " << receiver.missingBlock();
        for (int block = 1; block <= Blocks; ++block)
            for (int i = 0; i < 6; ++i)
                ASSERT_EQ(s.DataBuffer[6 * (block - 1) + i], model.logicBlocks[block][size_t(i)])
                    << "block " << block << " byte " << i;
    }

    // Reads DspWords words right away; every byte read must be the controller's, low byte first.
    void readDspRightAway() {
        link.dataTx.ClearReceiveBuffer();
        for (int w = 0; w < DspWords; ++w)
            ASSERT_TRUE(link.dataTx.ReadDspEeprom(DspFirstAddress + 2 * w)) << "word " << w;
        ASSERT_EQ(s.DataCount, 2 * DspWords);
        for (int i = 0; i < 2 * DspWords; ++i)
            EXPECT_EQ(s.DataBuffer[i], model.dspBytes[size_t(DspFirstAddress + i)]) << "DSP byte " << i;
    }

    void writeDspRightAway() {
        std::vector<int> written;
        for (int w = 0; w < DspWords; ++w) {
            const int value = 0x0102 * (w + 1) + 0x4000;
            written.push_back(value);
            ASSERT_TRUE(link.dataTx.WriteDspEeprom(DspFirstAddress + 2 * w, value)) << "word " << w;
        }
        for (int w = 0; w < DspWords; ++w) {
            EXPECT_EQ(model.dspBytes[size_t(DspFirstAddress + 2 * w)], written[size_t(w)] & 0xFF) << w;
            EXPECT_EQ(model.dspBytes[size_t(DspFirstAddress + 2 * w + 1)], written[size_t(w)] >> 8) << w;
        }
    }
};

TEST_P(OwedAcrossExchanges, ALogicReceiveThenADspReadTakesEveryByteFromItsOwnAnswer) {
    receiveBlocks(logicio::rungTableReceiveCounts(s.TransferDelay));
    readDspRightAway();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_P(OwedAcrossExchanges, ALadderReceiveThenDspWritesAndAReadBackStoreAndTakeTheirOwnValues) {
    receiveBlocks(ladder::ladderReceiveCounts());
    writeDspRightAway();
    readDspRightAway();
}

TEST_P(OwedAcrossExchanges, AReadOfTheSerialOutputThenASetReportsTheModeSet) {
    model.serialOut.mode = 0;
    service::SerialOutExchange serialOut(link);
    ASSERT_EQ(serialOut.read(), std::optional<int>(0));
    // The set comes at once: the read's extra requests are still being answered with the old mode.
    EXPECT_EQ(serialOut.set(1), std::optional<int>(1));
    EXPECT_EQ(model.serialOut.mode, 1);
    // A read a moment later agrees.
    testsupport::waitFor([] { return false; }, 2 * GetParam().holdMs + 50);
    EXPECT_EQ(serialOut.read(), std::optional<int>(1));
}

TEST_P(OwedAcrossExchanges, APsetChosenAndTheStatusReadAfterItShowEachPsetAsChosen) {
    for (const int pset : {2, 3, 1, 4}) {
        link.dataTx.SelectPset(pset);
        ASSERT_TRUE(link.dataTx.ReadSystemStatus());
        EXPECT_EQ(s.SystemStatus.CurrentPset, pset);
    }
}

TEST_P(OwedAcrossExchanges, ALocationReadAgainShowsItAsItIsNowAfterTheControllerOrAWriteChangedIt) {
    constexpr int Address = 5;
    const auto read = [&] {
        s.DataCount = 0;
        EXPECT_TRUE(link.dataTx.ReadToolEeprom(Address));
        return s.DataBuffer[0];
    };
    model.toolEeprom[Address] = 0x11;
    EXPECT_EQ(read(), 0x11);
    model.toolEeprom[Address] = 0x22;
    EXPECT_EQ(read(), 0x22);
    ASSERT_TRUE(link.dataTx.WriteToolEeprom(Address, 0x33));
    EXPECT_EQ(read(), 0x33);
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, OwedAcrossExchanges,
    ::testing::Values(Dongle{"prompt"}, Dongle{"once", 0, false}, Dongle{"held40", 40},
                      Dongle{"held150", 150}, Dongle{"held400", 400}, Dongle{"held150Once", 150, false},
                      Dongle{"held400Once", 400, false}, Dongle{"repeating", 0, true, 3},
                      Dongle{"repeatingOnce", 0, false, 3}, Dongle{"held40Repeating", 40, true, 5},
                      Dongle{"framesApart", 0, true, -1, 4}, Dongle{"held150FramesApart", 150, true, -1, 20},
                      Dongle{"acksApart60", 0, true, -1, 60}, Dongle{"copiesLate70", 0, true, 70},
                      Dongle{"copiesLate70Once", 0, false, 70}, Dongle{"copiesLate120", 0, true, 120},
                      Dongle{"staleStatus", 0, true, -1, -1, 150},
                      Dongle{"staleStatusOnce", 0, false, -1, -1, 150},
                      Dongle{"reports", 0, true, -1, -1, 0, 10},
                      Dongle{"bytePerTurn", 0, false, -1, -1, 0, 0, true}),
    testsupport::dongleName);

} // namespace
