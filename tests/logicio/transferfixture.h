#pragma once
// The logic transfers on each link against the stand-in: both editors over one logic module, the transfer
// talking through the link fixture's link and scripted dialogs, the progress it reports, and what the
// stand-in received.

#include "logicio/logiccatalogue.h"
#include "logicio/logiceditor.h"
#include "logicio/logicimage.h"
#include "logicio/logictransfer.h"
#include "tests/link/linkfixtures.h"
#include "tests/link/silentlinks.h"
#include "tests/logicio/logicfixture.h"

#include <algorithm>
#include <vector>

namespace logictest {

using linktest::CountingEthernetFixture;
using linktest::RecordingProgress;
using linktest::SilentLinks;

// A program in every rung, in the form a receive rebuilds (refresh summaries): conditions with OR and
// AND, counter values, the three timer starts with their seconds, and actions of the variant's list.
inline logicio::LogicRungs sampleProgram(logicio::LogicVariant variant) {
    using namespace logicio;
    LogicRungs rungs;
    auto condition = [&](int r, int k, int index, int value) {
        rungs[r].in(k) = codeWord(index, value);
        rungs[r].inText(k) = ConditionText(index);
    };
    auto action = [&](int r, int k, int index, int seconds) {
        rungs[r].out(k) = codeWord(index, seconds);
        rungs[r].outText(k) = ActionText(variant, index);
        if (isTimerStart(index))
            rungs[r].outText(k) = timerText(rungs[r].outText(k), QString::number(seconds));
    };
    const int actions = logicVersion(variant).actionCount;
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r) {
        condition(r, 1, r, 0);
        condition(r, 2, 32 + r, 3 * r); // counters 1..8 with their comparisons
        rungs[r].In2Text = counterText(rungs[r].In2Text, QString::number(3 * r));
        condition(r, 4, 88, 0);
        rungs[r].Op3 = r % 2;
        rungs[r].Op3Text = OperatorText(r % 2);
        action(r, 1, actions - 1 - r % 5, 0);
        action(r, 3, r, 0);
    }
    action(4, 2, 71, 72);
    action(11, 4, 72, 30);
    action(20, 2, 73, 1);
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        rebuildSummaries(rungs[r], SummaryForm::Refresh);
    return rungs;
}

// Words 0..count-1 of an image, as the stand-in's logic store holds them.
inline std::vector<int> imageWords(const logicio::LogicImage& image, int count) {
    std::vector<int> words(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        words[size_t(i)] = image.word(i);
    return words;
}

// The rungs as New leaves them.
inline logicio::LogicRungs newProgram() {
    logicio::LogicRungs rungs;
    for (int r = logicio::LogicRungs::FirstRung; r <= logicio::LogicRungs::LastRung; ++r)
        logicio::rebuildSummaries(rungs[r], logicio::SummaryForm::Refresh);
    return rungs;
}

template <class LinkFixture> class TransferOnEachLink : public linktest::OnEachLink<LinkFixture> {
protected:
    logicio::LogicEditor& editor(logicio::LogicVariant variant) {
        return variant == logicio::LogicVariant::Version3 ? v3 : v2;
    }
    logicio::LogicTransfer transfer(logicio::LogicVariant variant) {
        return {this->link, this->dialogs, editor(variant)};
    }
    // The stand-in reports the controller type the variant needs.
    void controllerFor(logicio::LogicVariant variant) {
        this->model.verMajor = logicio::logicVersion(variant).minimumControllerType;
    }
    void answer(bool yes) { this->dialogs.yesNoAnswers.enqueue(yes); }

    // The block numbers of the stand-in's received requests with this code, in order (repeats included).
    std::vector<int> blocksReceived(int code) const {
        std::vector<int> blocks;
        for (const clink::CanMessage& m : this->model.received)
            if (m.id == clink::ids::CommandRequest && m.data[0] == code)
                blocks.push_back(m.data[1]);
        return blocks;
    }
    int requestsFor(int code, int block) const {
        const std::vector<int> blocks = blocksReceived(code);
        return int(std::count(blocks.begin(), blocks.end(), block));
    }
    // The messages shown, as text, caption and icon.
    std::vector<testsupport::ScriptedDialogs::Message> messages() const { return this->dialogs.messages; }

    testsupport::TempProgramFolder folder;
    ScriptedServices scripted;
    logicio::LogicModule module{scripted.services};
    logicio::LogicEditor v2{module, logicio::LogicVariant::Version2};
    logicio::LogicEditor v3{module, logicio::LogicVariant::Version3};
    RecordingProgress progress;
};

} // namespace logictest
