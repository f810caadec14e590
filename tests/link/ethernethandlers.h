#pragma once
// A controller link whose Ethernet front end is fed frames directly, as if they had just been parsed off
// the socket: the cases say which request is pending and check what each frame does to the shared state.

#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace linktest {

class EthernetHandlers : public ::testing::Test {
protected:
    base::QtEventPump pump;
    clink::ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    clink::ControllerLink link{pump, dialogs, clock};
    clink::LinkState& s = link.state;

    // The request the link is waiting on (RequestData 1..3), no reply taken yet.
    void expectRequest(int rd1, int rd2, int rd3 = 0) {
        s.RequestData[1] = rd1;
        s.RequestData[2] = rd2;
        s.RequestData[3] = rd3;
        s.AckReceived = false;
        s.ReplyReady = false;
    }
    // A frame as parsed off the socket, judged for the exchange awaiting an answer: when the case names
    // none, one awaiting the frame's identifier with the link state's echo values (unless the controller
    // sends frames there on its own, which no exchange awaits).
    void frame(clink::CanId id, std::array<int, 8> d) {
        const bool named = s.AwaitedId != 0 || s.AwaitedCode != 0;
        if (!named && !clink::AnswerJudge::reportsOnItsOwn(id))
            s.AwaitedId = id;
        link.ethernet.dispatch(id, d);
        if (!named)
            s.AwaitedId = 0;
    }
    void twice(clink::CanId id, std::array<int, 8> d) {
        frame(id, d);
        frame(id, d);
    }
    // An answer the judge took for an exchange told by its code alone (which the link state's echo values
    // cannot say): its handler stores what it carries.
    void taken(clink::CanId id, std::array<int, 8> d) { link.ethernet.handle(id, d); }
    // A transaction runs and awaits this answer (the handlers that append store only then); it starts with
    // RequestData cleared.
    void awaitAnswer(clink::CanId id, int code) {
        tx.reset();
        tx.emplace(link);
        s.AwaitedId = id;
        s.AwaitedCode = code;
    }
    std::optional<clink::Transaction> tx;
};

} // namespace linktest
