// The main window's commands on a dead or silent link: each ends quickly with its failure box while the
// busy cursor shows; closing the main window during a wait ends the command at once and quietly.
#include "app/ui/frmmain.h"
#include "app/ui/installwindows.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/tempfolder.h"
#include "tests/support/ui/appfixture.h"
#include "tests/support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

using testsupport::waitFor;

// The busy cursor as the user would see it.
bool waitCursorShown() {
    return testsupport::pointerShown() == Qt::WaitCursor;
}

// Notes whether the busy cursor showed when each box came up; questions are answered No.
class CursorDialogs : public testsupport::ScriptedDialogs {
public:
    void message(const QString& text, const QString& caption, base::MessageIcon icon) override {
        busyCursor.push_back(waitCursorShown());
        ScriptedDialogs::message(text, caption, icon);
    }
    bool askYesNo(const QString& text, const QString&, base::MessageIcon) override {
        questions.append(text);
        return false;
    }
    std::vector<bool> busyCursor;
};

// Cancels every value-entry dialog.
class CancellingValueEntry : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm&) override { return app::ValueButton::Cancel; }
};

// The commands of the System, Tool, Dsp and Nsm menus that talk to the controller.
const char* const Commands[] = {
    "mnuReadSystemStatus",
    "mnuSystemReadParameterSets",
    "mnuSCCVersion",
    "mnuSystemReadRundownData",
    "mnuCalValue",
    "mnuReadAllToolEeLocations",
    "mnuResetToolCal",
    "mnuReadToolParameters",
    "mnuDspRev",
    "mnuDspViewParameters",
    "mnuDspResetToDefaults",
    "mnuRPM",
    "mnuDiag",
    "mnuNsmViewTimeDate",
    "MnuNsmViewVersion",
    "mnuNsmViewSettings",
    "mnuNsmWriteSettings",
};

template <class Pump> class LinkDown : public ::testing::Test {
protected:
    LinkDown() : ctx(makeContext()), main(ctx) {
        main.applyMenuState(3);
        ctx.state.ConnectionType = clink::TcpIp;
        ctx.state.ControllerIpAddress = QStringLiteral("127.0.0.1");
        ctx.state.TransferDelay = 8;
    }

    app::AppSeams seams() {
        app::AppSeams s;
        auto d = std::make_unique<CursorDialogs>();
        dialogs = d.get();
        s.dialogs = std::move(d);
        auto p = std::make_unique<Pump>();
        pump = p.get();
        s.pump = std::move(p);
        auto c = std::make_unique<clink::ManualLinkClock>();
        clock = c.get();
        s.clock = std::move(c);
        s.valuePrompt = std::make_unique<CancellingValueEntry>();
        s.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
        return s;
    }
    apptest::WindowTestContext& makeContext() {
        owner = std::make_unique<apptest::WindowTestContext>(seams());
        app::installWindows(*owner);
        return *owner;
    }

    struct Outcome {
        qint64 ms = 0;
        QStringList boxes;
        bool waitCursorAtEveryBox = true;
    };
    Outcome run(const char* name) {
        dialogs->messages.clear();
        dialogs->busyCursor.clear();
        QElapsedTimer t;
        t.start();
        QAction* a = main.action(QString::fromLatin1(name));
        EXPECT_TRUE(a && a->isEnabled()) << name;
        if (a)
            a->trigger();
        Outcome o;
        o.ms = t.elapsed();
        o.boxes = dialogs->messageTexts();
        for (bool b : dialogs->busyCursor)
            o.waitCursorAtEveryBox = o.waitCursorAtEveryBox && b;
        return o;
    }

    testsupport::TempProgramFolder folder;
    CursorDialogs* dialogs = nullptr;
    Pump* pump = nullptr;
    clink::ManualLinkClock* clock = nullptr;
    std::unique_ptr<apptest::WindowTestContext> owner;
    apptest::WindowTestContext& ctx;
    app::FrmMain main;
};

using Pumps = ::testing::Types<base::QtEventPump, testsupport::CountingEventPump>;
TYPED_TEST_SUITE(LinkDown, Pumps);

TYPED_TEST(LinkDown, EveryCommandEndsAtOnceWithItsFailureBox) {
    if constexpr (std::is_same_v<TypeParam, testsupport::CountingEventPump>)
        this->pump->betweenPolls = [] { QCoreApplication::processEvents(); };
    for (const char* name : Commands) {
        const auto o = this->run(name);
        EXPECT_LT(o.ms, 1000) << name;
        EXPECT_FALSE(o.boxes.isEmpty()) << name;
        EXPECT_TRUE(o.waitCursorAtEveryBox) << name;
        EXPECT_FALSE(waitCursorShown()) << name;
    }
}

} // namespace

class SilentDongle : public LinkDown<testsupport::CountingEventPump> {
protected:
    void SetUp() override {
        pump->betweenPolls = [] { QCoreApplication::processEvents(); };
        pump->clock = clock;
        namespace ids = clink::ids;
        model.noReply = {ids::ToolEepromRequest, ids::StatusRequest,  ids::CommandRequest,
                         ids::TransducerRequest, ids::DspReadRequest, ids::DspWriteRequest,
                         ids::NsmRequest,        ids::NsmReply,       ids::ToolRequest,
                         ids::ToolReply,         ids::CurveRequest,   ids::TransducerReply2};
        ASSERT_TRUE(dongle.listen(0));
        ctx.link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
        ASSERT_TRUE(waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));
    }
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
};

TEST_F(SilentDongle, EveryCommandEndsWithinTheSilenceCapWithItsFailureBox) {
    for (const char* name : Commands) {
        pump->budgetSpent = 0;
        const auto o = run(name);
        const double seconds = double(pump->budgetSpent) * double(base::DoEventsSlice.count()) / 1e9;
        EXPECT_LE(seconds, clink::SilenceCapMs / 1000.0 + 0.01) << name;
        EXPECT_FALSE(o.boxes.isEmpty()) << name;
        EXPECT_TRUE(o.waitCursorAtEveryBox) << name;
        ASSERT_TRUE(ctx.link.socket.isConnected()) << name;
    }
}
