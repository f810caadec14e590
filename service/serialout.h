#pragma once
// The controller's serial-output mode: how it reports each rundown on its serial output. The mode is read
// with [C1] and set with [C0 mode] on 15EF0103; the controller answers on 15EF0301 with [C2 mode-now].
//
//   SerialOutSession session(ctx);
//   session.Form_Load();              // reads the mode in force
//   session.cmdSet_Click(1);          // asks for Profibus; txtResult() shows what the controller reports

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace app {
class AppServices;
}
namespace clink {
class ControllerLink;
}

namespace service {

// The modes as the list offers them (list index = mode).
inline const QStringList SerialOutModes = {QStringLiteral("Standard Output"), QStringLiteral("Profibus"),
                                           QStringLiteral("Standard Output w/LF & PSET")};
// "Standard Output Selected", ...; empty for a mode the list does not hold.
QString serialOutModeText(int mode);

// The mode request and its answer on the selected link. Only the mode answer [C2 ...] ends a wait: over
// Ethernet the controller also answers the filter frames on 15EF0301 with its status, which must not pass
// for the mode.
class SerialOutExchange {
public:
    // Parallel port: receive-flag polls of a set, and TransferDelay x this for a read.
    static constexpr long PpSetPolls = 6000;
    static constexpr long PpReadPollFactor = 1000;
    // Ethernet: filter frames, requests, and DoEvents each request waits for the answer.
    static constexpr int EthernetFilterFrames = 3;
    static constexpr int EthernetRequests = 600;
    static constexpr long EthernetAnswerWait = 3000;

    explicit SerialOutExchange(clink::ControllerLink& link) : link_(link) {}

    // The mode the controller reports; nothing when no answer came or the link could not be set up (its
    // box has been shown).
    std::optional<int> read();
    std::optional<int> set(int mode);

private:
    std::optional<int> exchange(const std::array<int, 8>& request, long ppPolls);
    std::optional<int> exchangePp(const std::array<int, 8>& request, long polls);
    std::optional<int> exchangeEthernet(const std::array<int, 8>& request);
    std::optional<int> exchangeUsb(const std::array<int, 8>& request);

    clink::ControllerLink& link_;
};

// The serial-out window's session: the text of the mode in force and the list item that shows it.
class SerialOutSession {
public:
    explicit SerialOutSession(app::AppServices& ctx) : ctx_(ctx) {}

    // Reads the mode; an answer also selects its item. False when another command holds the program busy.
    bool Form_Load();
    // Sends the mode of the list item; on the parallel port the answer also selects its item.
    bool cmdSet_Click(int listIndex);

    const QString& txtResult() const { return txtResult_; }
    // The list item the last read or set selects; -1 none.
    int cboSerOut() const { return cboSerOut_; }

private:
    void show(const std::optional<int>& mode, bool select);

    app::AppServices& ctx_;
    QString txtResult_;
    int cboSerOut_ = -1;
};

} // namespace service
