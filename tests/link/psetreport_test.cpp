// The Pset report record built from a received Pset: values, texts and the codes without a text.
#include "base/numbertext.h"
#include "base/torque.h"
#include "link/linkstate.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>

using namespace clink;

namespace {
std::array<int, PsetBytes> psetWith(std::initializer_list<std::pair<int, int>> bytes) {
    std::array<int, PsetBytes> p{};
    for (auto [at, v] : bytes)
        p[size_t(at)] = v;
    return p;
}
} // namespace

TEST(PsetReport, TorqueTargetBytesE204Give125AndE704Give125Point5) {
    PsetReportRecord r;
    buildPsetReportRecord(r, psetWith({{1, 0xE2}, {2, 0x04}}));
    EXPECT_EQ(r.Values[0], 125.0);
    EXPECT_EQ(r.Texts[0], base::fixed40("Torque Target: 125"));
    buildPsetReportRecord(r, psetWith({{1, 0xE7}, {2, 0x04}}));
    EXPECT_EQ(r.Texts[0], base::fixed40("Torque Target: 125.5"));
}

TEST(PsetReport, HighBytesOf128AndMoreAreUnsigned) {
    PsetReportRecord r;
    buildPsetReportRecord(r, psetWith({{2, 0x80}, {4, 0xFF}, {3, 0xFF}, {23, 0xC0}, {18, 0xFF}, {17, 0xFF}}));
    EXPECT_EQ(r.Texts[0], base::fixed40("Torque Target: 3276.8"));
    EXPECT_EQ(r.Texts[1], base::fixed40("Torque Hi Limit: 6553.5"));
    EXPECT_EQ(r.Texts[10], base::fixed40("Rpm Freespeed: 4915.2"));
    EXPECT_EQ(r.Texts[8], base::fixed40("Angle Hi Limit: 6553.5"));
}

TEST(PsetReport, EveryTextInPlaceAndValueThreeNeverWritten) {
    PsetReportRecord r;
    buildPsetReportRecord(r, psetWith({{0, 4},
                                       {7, 0},
                                       {8, 10},
                                       {10, 20},
                                       {12, 30},
                                       {15, 40},
                                       {19, 50},
                                       {21, 0},
                                       {24, 60},
                                       {26, 1},
                                       {27, 3}}));
    const QStringList expected = {
        "Torque Target: 0",
        "Torque Hi Limit: 0",
        "Torque Lo Limit: 0",
        "",
        "Torque Downshift: 2",
        "Torque Threshold: 1",
        "Torque Cycle Complete: 3",
        "Angle Target: 4",
        "Angle Hi Limit: 0",
        "Angle Lo Limit: 5",
        "Rpm Freespeed: 0",
        "Rpm Downshift: 6",
        "Soft Start: No",
        "Ergo: No",
        "Units: lb-in",
        "Startegy: Tq Control / Angle Control",
    };
    for (int k = 0; k < PsetReportRecord::Fields; ++k) {
        if (k == 3) {
            EXPECT_TRUE(r.Texts[3].isEmpty());
            EXPECT_FALSE(r.Values[3].has_value());
        } else {
            EXPECT_EQ(r.Texts[size_t(k)], base::fixed40(expected[k])) << k;
        }
    }
    EXPECT_EQ(r.Values[15], 4);
    EXPECT_EQ(r.Values[14], 1);
}

TEST(PsetReport, StrategyAndUnitsWithoutATextKeepThePreviousText) {
    const std::map<int, QString> strategies = {
        {1, "Strategy: Tq Control"},
        {2, "Strategy: Tq Control / Angle Monitor"},
        {3, "Strategy: Tq Monitor / Angle Control"},
        {4, "Startegy: Tq Control / Angle Control"},
        {28, "Startegy: Reverse Tq Control / Angle Control"},
        {29, "Strategy: Reverse Tq Monitor / Angle Control"},
        {30, "Strategy: Reverse Tq Control / Angle Monitor"},
        {31, "Strategy: Reverse Tq Control"},
    };
    PsetReportRecord r;
    for (const auto& [code, text] : strategies) {
        buildPsetReportRecord(r, psetWith({{0, code}, {26, 5}}));
        EXPECT_EQ(r.Texts[15], base::fixed40(text)) << code;
    }
    buildPsetReportRecord(r, psetWith({{0, 5}, {26, 0}}));
    EXPECT_EQ(r.Values[15], 5);
    EXPECT_EQ(r.Texts[15], base::fixed40("Strategy: Reverse Tq Control"));
    EXPECT_EQ(r.Values[14], 0);
    EXPECT_EQ(r.Texts[14], base::fixed40("Units: Nm"));
    EXPECT_EQ(base::unitsText(2), "Units: lb-ft");
    EXPECT_EQ(base::unitsText(3), "Units: kg-cm");
    EXPECT_EQ(base::unitsText(4), "Units: kg-m");
    EXPECT_TRUE(base::unitsText(6).isEmpty());
}
