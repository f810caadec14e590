#pragma once
// The system's DSM unit as the terminal sees it on its serial line. Running, it ignores what it is sent
// until "q " puts it at its command prompt ("DSM> "), where it echoes what is typed and takes a command
// at CR:
//   "down data.txt"  sends its rundown data file with XMODEM (waits for the receiver's NAK, or 'C' for
//                    CRC-16 blocks, passing over anything else);
//   "up match.txt"   takes a match file as plain bytes: 1022 of them, or what came before the line went
//                    quiet;
//   "up dsm.exe"     takes a new program with XMODEM, asking with NAK every second until the first block;
//   "dsm"            goes back to running; anything else is answered "Unknown command".
// It keeps every command for the tests, and can spoil one block to exercise retries.
//
//   sim::FakeDsm dsm;
//   dsm.toProgram = [&](const QByteArray& bytes) { pty.write(bytes); };
//   pty.onPeerData([&](const QByteArray& bytes) { dsm.fromProgram(bytes); });

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

namespace sim {

class FakeDsm : public QObject {
    Q_OBJECT
public:
    enum class State { Running, Prompt, SendingData, ReceivingMatch, ReceivingProgram };

    struct Timing {
        // The receiving end asks again this often until the first block begins.
        std::chrono::milliseconds nakInterval{1000};
        // The sending end waits this long for the first request.
        std::chrono::milliseconds startWait{10000};
        // A plain receive ends when the line has been quiet this long.
        std::chrono::milliseconds quiet{1000};
        // The sending end sends a block again when its answer does not come within this.
        std::chrono::milliseconds replyWait{10000};
        int retries = 10;
    };

    static constexpr int MatchFileSize = 1022;
    static inline const QByteArray Prompt = QByteArrayLiteral("\r\nDSM> ");

    explicit FakeDsm(QObject* parent = nullptr);

    // What the DSM sends to the program.
    std::function<void(const QByteArray&)> toProgram;
    // The program's bytes.
    void fromProgram(const QByteArray& bytes);

    State state() const { return state_; }

    // --- its memory (tests seed and inspect it)
    QByteArray dataFile;
    QByteArray matchFile;
    QByteArray program;
    // "q " and every command line, in order.
    QStringList commands;
    // Every byte the program sent.
    QByteArray received;
    // Transfers that ended with every byte in place.
    int transfersComplete = 0;

    // --- behaviour
    bool echo = true;
    Timing timing;
    // The data block with this number goes out once with a wrong checksum (0: none).
    int spoilBlock = 0;
    // The program block with this number is answered NAK once (0: none).
    int refuseBlock = 0;

private:
    void send(const QByteArray& bytes);
    void toPrompt();
    void promptByte(char byte);
    void command(const QString& line);

    void startSending();
    void sendingByte(char byte);
    void sendBlock();
    void resend();

    void startReceivingMatch();
    void endMatch();

    void startReceivingProgram();
    void receivingByte(char byte);
    void programBlock();
    void abort();

    State state_ = State::Running;
    QByteArray line_;
    char last_ = 0;
    QTimer timer_;

    // XMODEM
    bool crc_ = false;
    bool started_ = false;
    int block_ = 0;
    int tries_ = 0;
    int cans_ = 0;
    bool ending_ = false;
    QByteArray pending_;
    uint8_t expected_ = 1;
};

} // namespace sim
