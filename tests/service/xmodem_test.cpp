// The file-transfer engines over a serial port in memory: XMODEM's block layout and checks, both ends
// talking to each other, and the rules each end keeps with a wrong or silent peer; the plain send.
#include "service/xmodem.h"
#include "tests/support/memoryserialport.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

namespace {

using namespace service;
using namespace service::xmodem;
using namespace std::chrono_literals;
using Outcome = FileTransfer::Outcome;
using testsupport::MemorySerialPort;
using testsupport::waitFor;

// Time-outs short enough for tests that let them run out.
const TransferTimings Quick{.start = 40ms, .reply = 40ms, .block = 40ms, .character = 40ms, .retries = 3};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A file with every byte value, the protocol's own bytes among them, not ending in SUB.
QByteArray binaryFile(int size) {
    QByteArray file;
    for (int i = 0; i < size; ++i)
        file.append(char((i * 7 + 3) % 256));
    if (file.endsWith(SUB))
        file.back() = 'x';
    return file;
}

struct OpenPort : MemorySerialPort {
    OpenPort() { open(QStringLiteral("mem"), {}); }
};

TEST(Xmodem, BlocksCarryNumberComplementPaddedDataAndTheirCheck) {
    EXPECT_EQ(crc16(QByteArrayLiteral("123456789")), 0x31C3);
    EXPECT_EQ(checksum(bytes({0xFF, 0x02, 0x10})), 0x11);

    const QByteArray sum = block(2, QByteArrayLiteral("AB"), false);
    ASSERT_EQ(sum.size(), ChecksumBlockSize);
    EXPECT_EQ(sum.left(5), bytes({SOH, 2, 0xFD, 'A', 'B'}));
    EXPECT_EQ(sum.mid(5, 126), QByteArray(126, SUB));
    EXPECT_EQ(uint8_t(sum.back()), uint8_t('A' + 'B' + 126 * SUB));

    // Block 256 is numbered 0; the CRC goes high byte first.
    const QByteArray crc = block(0, QByteArray(BlockSize, '1'), true);
    ASSERT_EQ(crc.size(), ChecksumBlockSize + 1);
    EXPECT_EQ(crc.left(3), bytes({SOH, 0, 0xFF}));
    const uint16_t check = crc16(QByteArray(BlockSize, '1'));
    EXPECT_EQ(crc.right(2), bytes({check >> 8, check & 0xFF}));
}

TEST(Xmodem, SenderAndReceiverMoveABinaryFileWhole) {
    OpenPort senderPort;
    OpenPort receiverPort;
    const QByteArray file = binaryFile(3 * BlockSize + 17);
    Sender sender(senderPort, file, {});
    Receiver receiver(receiverPort, {});
    // Each end's writes arrive at the other.
    senderPort.onWrite = [&](const QByteArray& b) { receiver.received(b); };
    receiverPort.onWrite = [&](const QByteArray& b) { sender.received(b); };
    sender.start();
    // The receiver's echo of a command is passed over by the sender before the first NAK.
    sender.received(QByteArrayLiteral("up dsm.exe\r\n"));
    receiver.start();

    EXPECT_EQ(sender.outcome(), Outcome::Complete);
    EXPECT_EQ(receiver.outcome(), Outcome::Complete);
    EXPECT_EQ(receiver.receivedFile(), file);
    EXPECT_EQ(sender.bytesDone(), file.size());
    // Four blocks, EOT; the receiver: NAK, four ACK and the ACK of EOT.
    EXPECT_EQ(senderPort.written.size(), 4 * ChecksumBlockSize + 1);
    EXPECT_EQ(receiverPort.written, bytes({NAK, ACK, ACK, ACK, ACK, ACK}));

    // An empty file: EOT answers the first NAK and the receive ends with nothing.
    senderPort.written.clear();
    receiverPort.written.clear();
    Sender emptySender(senderPort, {}, Quick);
    Receiver emptyReceiver(receiverPort, Quick);
    senderPort.onWrite = [&](const QByteArray& b) { emptyReceiver.received(b); };
    receiverPort.onWrite = [&](const QByteArray& b) { emptySender.received(b); };
    emptySender.start();
    emptyReceiver.start();
    EXPECT_EQ(emptySender.outcome(), Outcome::Complete);
    EXPECT_EQ(emptyReceiver.outcome(), Outcome::Complete);
    EXPECT_TRUE(emptyReceiver.receivedFile().isEmpty());
    EXPECT_EQ(senderPort.written, bytes({EOT}));
    EXPECT_EQ(receiverPort.written, bytes({NAK, ACK}));
}

TEST(Xmodem, SenderAnswersACrcRequestWithCrcBlocksAndSendsAgainOnNak) {
    OpenPort port;
    const QByteArray file = binaryFile(BlockSize + 1);
    Sender sender(port, file, {});
    sender.start();
    EXPECT_TRUE(port.written.isEmpty());
    // Two requests in one piece start one block.
    sender.received(QByteArray(2, CrcRequest));
    const QByteArray first = block(1, file.left(BlockSize), true);
    EXPECT_EQ(port.written, first);
    sender.received(QByteArray(1, NAK));
    EXPECT_EQ(port.written, first + first);
    // Stray bytes between blocks change nothing.
    sender.received(QByteArrayLiteral("x"));
    sender.received(QByteArray(1, ACK));
    EXPECT_EQ(port.written, first + first + block(2, file.mid(BlockSize), true));
    sender.received(QByteArray(1, ACK));
    EXPECT_TRUE(port.written.endsWith(EOT));
    EXPECT_TRUE(sender.active());
    // A NAK of the end sends it again.
    sender.received(QByteArray(1, NAK));
    EXPECT_TRUE(port.written.endsWith(QByteArray(2, EOT)));
    sender.received(QByteArray(1, ACK));
    EXPECT_EQ(sender.outcome(), Outcome::Complete);
}

TEST(Xmodem, SenderEndsOnAbortSilenceTooManyErrorsAndCancel) {
    {
        OpenPort port;
        Sender sender(port, binaryFile(10), Quick);
        sender.start();
        sender.received(QByteArray(1, NAK));
        sender.received(bytes({CAN, CAN}));
        EXPECT_EQ(sender.outcome(), Outcome::Failed);
        EXPECT_EQ(sender.failure(), "The other end cancelled the transfer");
    }
    {
        // No receiver asks for the file.
        OpenPort port;
        Sender sender(port, binaryFile(10), Quick);
        sender.start();
        ASSERT_TRUE(waitFor([&] { return !sender.active(); }));
        EXPECT_EQ(sender.failure(), "The other end did not start the transfer");
        EXPECT_EQ(port.written, bytes({CAN, CAN}));
    }
    {
        // Every try refused: the block goes out as often as the retries allow, then the transfer is aborted.
        OpenPort port;
        Sender sender(port, binaryFile(10), Quick);
        sender.start();
        sender.received(QByteArray(1, NAK));
        for (int i = 0; i < Quick.retries; ++i)
            sender.received(QByteArray(1, NAK));
        EXPECT_EQ(sender.failure(), "Too many errors on the line");
        EXPECT_EQ(port.written.size(), Quick.retries * ChecksumBlockSize + 2);
        EXPECT_TRUE(port.written.endsWith(bytes({CAN, CAN})));
    }
    {
        // A receiver that stops answering: the block is sent again at each time-out.
        OpenPort port;
        Sender sender(port, binaryFile(10), Quick);
        sender.start();
        sender.received(QByteArray(1, NAK));
        ASSERT_TRUE(waitFor([&] { return !sender.active(); }));
        EXPECT_EQ(sender.failure(), "The other end stopped answering");
        EXPECT_EQ(port.written.size(), Quick.retries * ChecksumBlockSize + 2);
    }
    {
        OpenPort port;
        Sender sender(port, binaryFile(10), Quick);
        sender.start();
        sender.cancel();
        EXPECT_EQ(sender.outcome(), Outcome::Cancelled);
        EXPECT_EQ(port.written, bytes({CAN, CAN}));
    }
}

TEST(Xmodem, ReceiverRefusesSpoiledBlocksKeepsRepeatsOnceAndStripsPadding) {
    OpenPort port;
    Receiver receiver(port, {});
    receiver.start();
    EXPECT_EQ(port.written, bytes({NAK}));
    const QByteArray first = QByteArray(BlockSize, 'a');
    // The echo and prompt before the first block are passed over.
    receiver.received(QByteArrayLiteral("down data.txt\r\n"));

    QByteArray spoiled = block(1, first, false);
    spoiled.back() = char(spoiled.back() + 1);
    receiver.received(spoiled);
    QByteArray badComplement = block(1, first, false);
    badComplement[2] = 0x00;
    receiver.received(badComplement);
    EXPECT_EQ(port.written, bytes({NAK, NAK, NAK}));
    EXPECT_TRUE(receiver.receivedFile().isEmpty());

    // A block split over two reads is taken whole; sent again (its ACK lost) it is kept once.
    const QByteArray good = block(1, first, false);
    receiver.received(good.left(50));
    receiver.received(good.mid(50));
    receiver.received(good);
    receiver.received(block(2, QByteArrayLiteral("end\x1a"), false));
    EXPECT_EQ(port.written, bytes({NAK, NAK, NAK, ACK, ACK, ACK}));
    receiver.received(QByteArray(1, EOT));
    EXPECT_EQ(receiver.outcome(), Outcome::Complete);
    EXPECT_EQ(port.written.back(), ACK);
    // The padding goes, and with it a SUB the file ended in.
    EXPECT_EQ(receiver.receivedFile(), first + "end");
}

TEST(Xmodem, ReceiverEndsOnBlocksOutOfSequenceAbortAndSilence) {
    {
        OpenPort port;
        Receiver receiver(port, {});
        receiver.start();
        receiver.received(block(1, "x", false));
        receiver.received(block(3, "y", false));
        EXPECT_EQ(receiver.outcome(), Outcome::Failed);
        EXPECT_EQ(receiver.failure(), "Blocks arrived out of sequence");
        EXPECT_TRUE(port.written.endsWith(bytes({CAN, CAN})));
    }
    {
        OpenPort port;
        Receiver receiver(port, {});
        receiver.start();
        // A lone CAN is line noise; two abort.
        receiver.received(bytes({CAN, 'z'}));
        EXPECT_TRUE(receiver.active());
        receiver.received(bytes({CAN, CAN}));
        EXPECT_EQ(receiver.failure(), "The other end cancelled the transfer");
    }
    {
        // No block ever comes: NAK at each time-out until the retries are spent.
        OpenPort port;
        Receiver receiver(port, Quick);
        receiver.start();
        ASSERT_TRUE(waitFor([&] { return !receiver.active(); }));
        EXPECT_EQ(receiver.failure(), "The other end did not start the transfer");
        EXPECT_EQ(port.written, QByteArray(Quick.retries, NAK) + bytes({CAN, CAN}));
    }
    {
        // A block whose bytes stop is asked for again.
        OpenPort port;
        Receiver receiver(port, {.block = 10s, .character = 40ms});
        receiver.start();
        receiver.received(block(1, "x", false).left(20));
        ASSERT_TRUE(waitFor([&] { return port.written.size() == 2; }));
        EXPECT_EQ(port.written, bytes({NAK, NAK}));
        receiver.received(block(1, "x", false));
        receiver.received(QByteArray(1, EOT));
        EXPECT_EQ(receiver.receivedFile(), "x");
    }
    {
        // On a slow line a block takes longer than the quiet time, its bytes still coming: it is kept.
        OpenPort port;
        Receiver receiver(port, {.block = 10s, .character = 300ms});
        receiver.start();
        const QByteArray slow = block(1, "slow", false);
        constexpr int Pieces = 4;
        const int piece = (slow.size() + Pieces - 1) / Pieces;
        for (int at = 0; at < slow.size(); at += piece) {
            receiver.received(slow.mid(at, piece));
            waitFor([] { return false; }, 120);
        }
        EXPECT_EQ(port.written, bytes({NAK, ACK}));
        receiver.received(QByteArray(1, EOT));
        EXPECT_EQ(receiver.receivedFile(), "slow");
    }
}

TEST(PlainSend, CompleteWhenThePortHasHandedOnEveryByte) {
    OpenPort port;
    const QByteArray file = binaryFile(1022);
    port.heldBack = 600;
    auto transfer = makeSender(TransferProtocol::Raw, port, file, Quick);
    transfer->start();
    EXPECT_EQ(port.written, file);
    EXPECT_TRUE(transfer->active());
    EXPECT_EQ(transfer->bytesDone(), 422);
    port.heldBack = 0;
    ASSERT_TRUE(waitFor([&] { return !transfer->active(); }));
    EXPECT_EQ(transfer->outcome(), Outcome::Complete);
    EXPECT_EQ(transfer->bytesDone(), 1022);

    // A line that takes nothing more fails; a closed port refuses at once.
    port.heldBack = 5;
    transfer = makeSender(TransferProtocol::Raw, port, file, Quick);
    transfer->start();
    ASSERT_TRUE(waitFor([&] { return !transfer->active(); }));
    EXPECT_EQ(transfer->failure(), "The line did not take the file");
    port.close();
    transfer = makeSender(TransferProtocol::Raw, port, file, Quick);
    transfer->start();
    EXPECT_EQ(transfer->failure(), "The port refused the data: The port is not open");

    // The plain protocol has no end of file to receive by.
    transfer = makeReceiver(TransferProtocol::Raw, port, Quick);
    transfer->start();
    EXPECT_EQ(transfer->outcome(), Outcome::Failed);
}

} // namespace
