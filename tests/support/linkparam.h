#pragma once
// The link a value-parameterized test runs on, and the name it carries in the test's name.

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

enum class Link { Ethernet, Usb, ParallelPort };

inline std::string linkName(const ::testing::TestParamInfo<Link>& info) {
    switch (info.param) {
    case Link::Ethernet:
        return "Ethernet";
    case Link::Usb:
        return "Usb";
    case Link::ParallelPort:
        return "ParallelPort";
    }
    return "Link";
}

// A fixture run on each link in turn, the link to the stand-in opened before each case.
template <class Fixture> class OnLink : public Fixture, public ::testing::WithParamInterface<Link> {
protected:
    void SetUp() override { this->connect(GetParam()); }
};

} // namespace testsupport
