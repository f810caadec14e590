// The stand-in's answers for the tool and DSP commands: the DSP reset to defaults, the revision frame on
// each link, the tool EEPROM's location 1024 and the EEPROM fault knobs.
#include "sim/controllermodel.h"

#include <gtest/gtest.h>

using clink::CanMessage;
using sim::ControllerModel;
using sim::Transport;
namespace ids = clink::ids;

TEST(ToolDspStandIn, TheResetRestoresTheDspDefaultsWithoutAnswer) {
    ControllerModel m;
    const auto defaults = m.dspBytes;
    ASSERT_EQ(
        m.respond({ids::DspWriteRequest, {0x60, 0, 10, 0, 0x34, 0x12, 0, 0}}, Transport::Ethernet).size(),
        1u);
    EXPECT_EQ(m.dspBytes[10], 0x34);
    EXPECT_TRUE(m.respond({ids::DspWriteRequest, {0x0B, 0, 0, 0, 0, 0, 0, 0}}, Transport::Usb).empty());
    EXPECT_EQ(m.dspBytes, defaults);
    EXPECT_EQ(m.dspResets, 1);
}

TEST(ToolDspStandIn, TheRevisionIsAnsweredPerLink) {
    ControllerModel m;
    m.dspRevisionMajor = 3;
    m.dspRevisionMinor = 1;
    const CanMessage ask{ids::ToolReply, {}};
    const CanMessage revision{ids::ToolReply, {0x50, 0, 0, 0, 0, 0, 1, 3}};
    EXPECT_EQ(m.respond(ask, Transport::Ethernet),
              (std::vector<CanMessage>{{ids::ToolReply, {0x50, 0, 0, 0, 0, 0, 0, 0}}, revision}));
    EXPECT_EQ(m.respond(ask, Transport::Usb), (std::vector<CanMessage>{revision}));
    EXPECT_TRUE(m.respond(ask, Transport::ParallelPort).empty());
    EXPECT_TRUE(m.respond({ids::ToolReply, {0xD1, 0, 0, 0, 0, 0, 0, 0}}, Transport::Ethernet).empty());
    // On the parallel port the DSP is heard sending it on its own.
    EXPECT_EQ(m.unpromptedFrames(), (std::vector<CanMessage>{m.statusBroadcast(), revision}));
    m.dspRevisionUnprompted = false;
    EXPECT_EQ(m.unpromptedFrames(), (std::vector<CanMessage>{m.statusBroadcast()}));
}

TEST(ToolDspStandIn, ToolLocation1024Answers) {
    ControllerModel m;
    const auto r = m.respond({ids::ToolEepromRequest, {0x90, 4, 0, 0, 0, 0, 0, 0}}, Transport::Usb);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::ToolEepromReply, {0x30, 4, 0, 0xFF, 0, 0, 0, 0}}));
}

TEST(ToolDspStandIn, SilentAddressesAndWritesNotApplied) {
    ControllerModel m;
    m.silentAddresses = {45, 300};
    EXPECT_TRUE(
        m.respond({ids::ToolEepromRequest, {0x90, 0, 45, 0, 0, 0, 0, 0}}, Transport::Ethernet).empty());
    EXPECT_TRUE(
        m.respond({ids::ToolEepromRequest, {0x60, 0, 45, 7, 0, 0, 0, 0}}, Transport::Ethernet).empty());
    EXPECT_EQ(m.respond({ids::ToolEepromRequest, {0x90, 0, 46, 0, 0, 0, 0, 0}}, Transport::Ethernet).size(),
              1u);
    // The transducer read carries its address one byte later over Ethernet.
    EXPECT_TRUE(
        m.respond({ids::TransducerRequest, {0x90, 0, 1, 44, 0, 0, 0, 0}}, Transport::Ethernet).empty());
    EXPECT_TRUE(
        m.respond({ids::TransducerRequest, {0x90, 1, 44, 0, 0, 0, 0, 0}}, Transport::ParallelPort).empty());
    EXPECT_TRUE(
        m.respond({ids::TransducerRequest, {0x60, 1, 44, 9, 0, 0, 0, 0}}, Transport::ParallelPort).empty());

    m.silentAddresses.clear();
    m.writeNotApplied = true;
    const uint8_t tool = m.toolEeprom[46];
    const uint8_t transducer = m.transducerEeprom[46];
    EXPECT_EQ(m.respond({ids::ToolEepromRequest, {0x60, 0, 46, tool ^ 1, 0, 0, 0, 0}}, Transport::Usb),
              (std::vector<CanMessage>{{ids::ToolEepromReply, {0x30, 0, 46, tool ^ 1, 0, 0, 0, 0}}}));
    EXPECT_EQ(m.toolEeprom[46], tool);
    EXPECT_EQ(
        m.respond({ids::TransducerRequest, {0x60, 0, 46, transducer ^ 1, 0, 0, 0, 0}}, Transport::Ethernet)
            .size(),
        1u);
    EXPECT_EQ(m.transducerEeprom[46], transducer);
}
