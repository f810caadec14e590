// A controller that answers once per request. The first answer to an exchange whose reply handler takes two
// frames only acknowledges; the reply comes to the next request. So the exchange sends again as soon as the
// acknowledgement is in, and never waits out its pass wait for a frame that only the next request draws:
// the Pset reads (block and report) and the rundown log read, every byte the controller's, each request
// sent twice, and no reply wait running out.
#include "app/reports/rundownreport.h"
#include "app/rundownlog.h"
#include "link/commandcodes.h"
#include "tests/support/ethernetfixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace clink;
namespace codes = clink::codes;

namespace {

class OnceAnswering : public testsupport::EthernetFixture {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        ASSERT_FALSE(dongle.ackThenReply);
        for (size_t i = 0; i < model.psets[Pset].size(); ++i)
            model.psets[Pset][i] = int((i * 19 + 7) & 0xFF);
        sim::ControllerModel::RundownLog log{};
        for (size_t i = 0; i < log.size(); ++i)
            log[i] = uint8_t((i * 23 + 11) & 0xFF);
        model.rundownLogs[Pset] = log;
    }
    // Requests [code Pset second] received.
    int requests(int code, int second) const {
        return int(std::count_if(model.received.begin(), model.received.end(), [&](const CanMessage& m) {
            return m.id == ids::CommandRequest && m.data[0] == code && m.data[1] == Pset &&
                   m.data[2] == second;
        }));
    }

    static constexpr int Pset = 3;
};

TEST_F(OnceAnswering, PsetAndRundownLogReadsSendAgainOnTheAcknowledgement) {
    ASSERT_TRUE(link.dataTx.ReadPsetBlock(Pset));
    for (size_t i = 0; i < model.psets[Pset].size(); ++i)
        ASSERT_EQ(s.DataBuffer[int(i)], model.psets[Pset][i]) << "Pset byte " << i;
    for (int packet = 1; packet <= codes::PsetPackets; ++packet)
        EXPECT_EQ(requests(codes::PsetRead, packet), 2) << "packet " << packet;

    ASSERT_TRUE(link.dataTx.ReadParameterSets(Pset));
    for (size_t i = 0; i < model.psets[Pset].size(); ++i)
        ASSERT_EQ(s.DataBuffer[int(i)], model.psets[Pset][i]) << "report read, Pset byte " << i;
    for (int packet = 1; packet <= codes::PsetPackets; ++packet)
        EXPECT_EQ(requests(codes::PsetRead, packet), 4) << "packet " << packet;

    ASSERT_TRUE(app::RundownLogReader(link).read(Pset));
    for (size_t i = 0; i < model.rundownLogs[Pset].size(); ++i)
        ASSERT_EQ(s.DataBuffer[int(i)], model.rundownLogs[Pset][i]) << "log byte " << i;
    for (int block = 0; block < app::RundownLogBlocks; ++block)
        ASSERT_EQ(requests(codes::RundownLogBlock, block), 2) << "block " << block;

    // 148 reply waits would run out if each waited for its reply before sending again; a loaded machine may
    // stall past one of them.
    EXPECT_LE(pump.longWaitsRunOut, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
