// Logic images and ladder frames sent on each link against the stand-in (the image comes back through the
// editors' block receiver, tested with it).
#include "tests/link/linkfixtures.h"

#include <random>

using namespace clink;

namespace {
template <class F> class LogicTx : public linktest::OnEachLink<F> {};
TYPED_TEST_SUITE(LogicTx, linktest::LinkFixtures);

constexpr int ImageBlocks = 117;
constexpr int ImageBytes = ImageBlocks * 6;

std::vector<int> pseudoRandomImage() {
    std::mt19937 gen(20060117);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<int> image(ImageBytes);
    for (int& b : image)
        b = byte(gen);
    return image;
}
} // namespace

TYPED_TEST(LogicTx, A117BlockImageIsSentBlockByBlock) {
    this->linkCheck(ids::CommandReply);
    const std::vector<int> image = pseudoRandomImage();
    for (int i = 0; i < ImageBytes; ++i)
        this->s.DataBuffer.put(i, image[size_t(i)]);
    for (int n = 1; n <= ImageBlocks; ++n)
        ASSERT_TRUE(this->tx().SendLogicIoProgram(n)) << n;
    // The acknowledgements leave the image in place (block 1 included).
    for (int i = 0; i < ImageBytes; ++i)
        ASSERT_EQ(this->s.DataBuffer[i], image[size_t(i)]) << i;
    for (int n = 1; n <= ImageBlocks; ++n)
        for (int i = 0; i < 6; ++i)
            ASSERT_EQ(this->model.logicBlocks[n][size_t(i)], image[size_t(6 * (n - 1) + i)]) << n;
    ASSERT_TRUE(this->tx().SendControlCommand(codes::RestartLogic));
}

TYPED_TEST(LogicTx, BlockNumbersWithoutAnImageSendNothing) {
    const size_t before = this->model.received.size();
    EXPECT_FALSE(this->tx().SendLogicIoProgram(0));
    EXPECT_FALSE(this->tx().SendLogicIoProgram(1001));
    // Block 256 lies inside the buffer but cannot be numbered in a frame.
    EXPECT_FALSE(this->tx().SendLogicIoProgram(256));
    this->s.DataBuffer.put(0, 300);
    EXPECT_FALSE(this->tx().SendLogicIoProgram(1));
    EXPECT_EQ(this->model.received.size(), before);
}

TYPED_TEST(LogicTx, LadderFramesAreStoredByBlockNumber) {
    this->linkCheck(ids::CommandReply);
    // The ladder editor's frames: 61, block, six bytes (block 0 first).
    for (int block = 0; block < 5; ++block) {
        const std::array<int, 8> frame{codes::LogicBlock, block, 10 + block, 20, 30, 40, 50, 60 + block};
        ASSERT_TRUE(this->tx().SendPlcProgram(frame)) << block;
        EXPECT_EQ(this->model.logicBlocks[block],
                  (sim::ControllerModel::Block{10 + block, 20, 30, 40, 50, 60 + block}));
    }
    EXPECT_FALSE(this->tx().SendPlcProgram({codes::LogicBlock, 1, 256, 0, 0, 0, 0, 0}));
}
