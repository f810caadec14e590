// The menu commands a technician uses most, timed as the technician meets them: the main window built as
// the program builds it (its windows installed, the start procedure run, File > Login with the factory
// code), on the offscreen platform, over Ethernet on loopback to the in-process stand-in, whose controller
// holds eight Psets and distinct values wherever the commands read. Each row triggers a menu action by its
// name and times the synchronous handler: ms per command, and the frames the controller received during
// it (requests; filters: how many of them were filter frames). Every row runs against a controller that
// answers each request once and against one that sends an acknowledgement before each reply, at no hold.
//
// The rows read "again" time the command after one run before it (the first run's time is first_ms); the
// bulk reads come after a status read on the same connection; the rows read "after a connect" build the
// whole program anew for every command, so each command is the first one on its connection. Boxes are
// answered by script: Yes and OK, the file names asked for, and the number a value-entry dialog asks for. A
// command that shows anything but its own success fails the row.
//
// The "Held" rows are the bulk image transfers of the link alone, against a controller that answers once
// and holds every answer (logic image received and sent, ladder image received), as the rung-table and
// ladder editors run them; they take a minute each, leave them out with a filter.
#include "app/accesslevels.h"
#include "app/appservices.h"
#include "app/parameterfile.h"
#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"
#include "app/ui/startup.h"
#include "app/ui/textviewer.h"
#include "app/valueentry.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "bench/failurenotingreporter.h"
#include "ladder/laddermodule.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "logicio/logicmodule.h"
#include "logicio/logictransfer.h"
#include "palverin/installwindows.h"
#include "pset/psetmodule.h"
#include "service/servicemodule.h"
#include "sim/controllermodel.h"
#include "sim/tcpdongle.h"

// The block receive is the link's own in newer trees and the program's in older ones; the monitoring
// feature has a module of its own in older trees.
#if __has_include("link/blockreceive.h")
#include "link/blockreceive.h"
namespace blockrx = clink;
#else
#include "app/blockreceiver.h"
namespace blockrx = app;
#endif
#if __has_include("monitor/monitormodule.h")
#include "monitor/monitormodule.h"
#endif

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>

#include <unistd.h>

namespace {

namespace ids = clink::ids;
namespace codes = clink::codes;
using Clock = std::chrono::steady_clock;

constexpr double MsPerSecond = 1000.0;
constexpr int ConnectTimeoutMs = 5000;
constexpr int ConnectSliceMs = 10;
const QString Loopback = QStringLiteral("127.0.0.1");
const QString BenchVersion = QStringLiteral("1.0.0");

// --- the controller's two ways of answering ---

enum class Framing { Once, AckThenReply };

const char* framingName(Framing framing) {
    return framing == Framing::Once ? "Once" : "AckReply";
}

// The stand-in's framing knob: an acknowledgement before each reply, or (in older trees) its opposite, one
// answer per request.
template <class Dongle> void setFraming(Dongle& dongle, Framing framing) {
    if constexpr (requires { dongle.ackThenReply; })
        dongle.ackThenReply = framing == Framing::AckThenReply;
    else
        dongle.answerOnce = framing == Framing::Once;
}

// --- the controller's memories ---

constexpr int ControllerPsets = 8;
constexpr int PsetUnitsNm = 5;
// A Pset as the controller holds it: torque control / angle monitor to 125.0 (120.0..130.0), threshold 10,
// downshift 100, cycle complete 5, angle window 0..400.0, free speed 1500 and downshift 300 rpm, soft start
// and ergo on; the units and the Pset number come last.
constexpr int PsetUnitsByte = 26;
constexpr int PsetNumberByte = 27;
constexpr sim::ControllerModel::PsetBytes PsetLayout = {
    2, 0xE2, 0x04, 0x14, 0x05, 0xB0, 0x04, 1, 0x64, 0x00, 0xE8, 0x03, 0x32, 0x00,
    1, 0x00, 0x00, 0xA0, 0x0F, 0x00, 0x00, 1, 0x98, 0x3A, 0xB8, 0x0B, 0,    0};
// Distinct bytes in every EEPROM location: location a holds (a * step + offset) mod 256.
constexpr int EepromStep = 7;
constexpr int EepromOffset = 3;
constexpr int DspStep = 5;
constexpr int DspOffset = 2;
constexpr int ByteMask = 0xFF;

void fillController(sim::ControllerModel& model) {
    model.psetCount = ControllerPsets;
    for (int p = 1; p <= ControllerPsets; ++p) {
        sim::ControllerModel::PsetBytes pset = PsetLayout;
        pset[PsetUnitsByte] = PsetUnitsNm;
        pset[PsetNumberByte] = p;
        model.psets[size_t(p)] = pset;
    }
    for (size_t a = 0; a < model.toolEeprom.size(); ++a)
        model.toolEeprom[a] = uint8_t((int(a) * EepromStep + EepromOffset) & ByteMask);
    for (size_t a = 0; a < model.dspBytes.size(); ++a)
        model.dspBytes[a] = uint8_t((int(a) * DspStep + DspOffset) & ByteMask);
}

// --- the boxes answered by script ---

// Yes and OK to every question, the file name set for every open-file prompt; the messages are kept.
class BenchDialogs : public base::UnattendedDialogs {
public:
    bool askYesNo(const QString&, const QString&, base::MessageIcon) override { return true; }
    bool askOkCancel(const QString&, const QString&, base::MessageIcon) override { return true; }
    QString openFileName(const QString&, const QString&) override { return fileName; }

    QString fileName;
};

// Enter with the number set typed into the panel shown; Cancel when none is set.
class BenchValueEntry : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm& form) override {
        if (!number)
            return app::ValueButton::Cancel;
        if (form.panel == app::ValuePanel::Eeprom)
            form.eeAddress.setValue(*number);
        else
            form.value.setValue(*number);
        return app::ValueButton::Enter;
    }

    std::optional<int> number;
};

// --- the program, as its main builds it, on Ethernet to the stand-in ---

// Points PALVERIN_HOME at a program folder of its own for its lifetime.
class ProgramFolder {
public:
    ProgramFolder() { qputenv("PALVERIN_HOME", folder_.path().toUtf8()); }
    ~ProgramFolder() {
        if (oldHome_.isEmpty())
            qunsetenv("PALVERIN_HOME");
        else
            qputenv("PALVERIN_HOME", oldHome_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    QString file(const QString& name) const { return QDir(folder_.path()).filePath(name); }

private:
    QByteArray oldHome_ = qgetenv("PALVERIN_HOME");
    QTemporaryDir folder_;
};

// The program's services and the windows' context over them, as the program's main builds them; the rig
// reaches the link through the services, the windows take their context.
class ProgramContext : public app::AppServices {
public:
    explicit ProgramContext(app::AppSeams seams)
        : AppServices(std::move(seams)), context(*this), windows(context.windows) {}

    app::AppContext context;
    app::WindowRegistry& windows;

    operator app::AppContext&() { return context; }
};

std::unique_ptr<ProgramContext> programContext(BenchDialogs*& dialogs, BenchValueEntry*& values) {
    app::AppSeams seams;
    auto ownedDialogs = std::make_unique<BenchDialogs>();
    dialogs = ownedDialogs.get();
    seams.textViewer = std::make_unique<app::QtTextViewer>(*ownedDialogs);
    seams.dialogs = std::move(ownedDialogs);
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::SteadyLinkClock>();
    auto ownedValues = std::make_unique<BenchValueEntry>();
    values = ownedValues.get();
    seams.valuePrompt = std::move(ownedValues);
    return std::make_unique<ProgramContext>(std::move(seams));
}

// The stand-in listening, its controller filled, the settings naming it; then the services, the feature
// modules and their windows, the main window and the start procedure, as the program's main builds them;
// then File > Login with the factory code.
class ProgramRig {
public:
    explicit ProgramRig(Framing framing) {
        fillController(model);
        setFraming(dongle, framing);
        dongle.listen(0);
        ctx = programContext(dialogs, values);
        saveLinkSettings();
        psetModule = std::make_unique<pset::PsetModule>(*ctx);
        ladderModule = std::make_unique<ladder::LadderModule>(*ctx);
        logicModule = std::make_unique<logicio::LogicModule>(*ctx);
#if __has_include("monitor/monitormodule.h")
        monitorModule = std::make_unique<monitor::MonitorModule>(*ctx);
#endif
        // The user's settings of the service windows stay in the program folder.
        serviceModule = std::make_unique<service::ServiceModule>(
            *ctx, service::ProgramCores{.logic = *logicModule, .ladder = *ladderModule},
            std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat));
        palverin::installWindows(*ctx, {.service = *serviceModule,
                                        .pset = *psetModule,
                                        .logicio = *logicModule,
                                        .ladder = *ladderModule});
        ctx->windows.setModalRunner([this](QWidget* window) { runModal(window); });
        main = std::make_unique<app::FrmMain>(*ctx);
        app::startProgram(*ctx, *main, BenchVersion);
        QElapsedTimer t;
        t.start();
        while (!connected() && t.elapsed() < ConnectTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, ConnectSliceMs);
        if (connected())
            loggedIn = logIn();
    }
    ~ProgramRig() {
        main.reset();
        serviceModule.reset();
#if __has_include("monitor/monitormodule.h")
        monitorModule.reset();
#endif
        logicModule.reset();
        ladderModule.reset();
        psetModule.reset();
        ctx.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;

    bool ready() const {
        return connected() && loggedIn;
    }
    bool connected() const {
        return ctx->link.socket.isConnected() && dongle.hasClient();
    }
    QAction* action(const QString& name) const {
        return main->action(name);
    }
    // The report windows closed (the editors stay when keepEditors), and the windows closed deleted.
    void closeReports(bool keepEditors) {
        if (!keepEditors)
            main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    ProgramFolder folder;
    BenchDialogs* dialogs = nullptr;
    BenchValueEntry* values = nullptr;
    std::unique_ptr<ProgramContext> ctx;
    std::unique_ptr<pset::PsetModule> psetModule;
    std::unique_ptr<ladder::LadderModule> ladderModule;
    std::unique_ptr<logicio::LogicModule> logicModule;
#if __has_include("monitor/monitormodule.h")
    std::unique_ptr<monitor::MonitorModule> monitorModule;
#endif
    std::unique_ptr<service::ServiceModule> serviceModule;
    std::unique_ptr<app::FrmMain> main;
    bool loggedIn = false;
    // The action of the window a row opens, once it is open.
    QPointer<QAction> editorAction;
    // Modal windows other than the login window, closed at once (none is expected).
    QStringList unexpectedWindows;

private:
    void saveLinkSettings() {
        clink::LinkState& s = ctx->state;
        ctx->palverin.LoadIniFiles();
        s.ConnectionType = clink::TcpIp;
        s.ControllerIpAddress = Loopback;
        s.ControllerIpPort = QString::number(dongle.port());
        ctx->palverin.SaveIniFile();
    }
    // File > Login: the factory code typed into the login window and Enter pressed.
    bool logIn() {
        QAction* login = action(QStringLiteral("mnuLogin"));
        if (!login)
            return false;
        login->trigger();
        return ctx->palverin.access.AccessLevel == app::FactoryLevel;
    }
    void runModal(QWidget* window) {
        QPointer<QWidget> guard(window);
        auto* password = window->findChild<QLineEdit*>(QStringLiteral("txtPword"));
        auto* enter = window->findChild<QPushButton*>(QStringLiteral("btnEnter"));
        if (password && enter) {
            password->setText(app::FactoryCode);
            enter->click();
        } else {
            unexpectedWindows << window->objectName();
        }
        if (guard)
            guard->deleteLater();
    }
};

// --- the rows ---

// How a row's commands stand to what came before them.
enum class Start {
    Again,        // after one run of the same command on the same connection (reported as first_ms)
    Warm,         // after a System > View > Status on the same connection
    AfterConnect, // the first command of a program just started and connected
};

struct MenuRow {
    const char* name = nullptr;
    const char* action = nullptr; // the main window's menu action
    Start start = Start::Again;
    int iterations = 1;
    const char* success = nullptr;      // the text the command's last box starts with; none: no box at all
    std::optional<int> number = {};     // typed into the value-entry dialog
    int parameterLines = 0;             // Tool > Write > Parameters: the lines of the parameter file
    const char* editorAction = nullptr; // the action of the window the main action opens
    int pauseMs = 0;                    // the program idles this long before each command (0: back to back)
};

// What one command did.
struct Outcome {
    double seconds = 0;
    int requests = 0; // every frame the controller received
    int filters = 0;  // the filter frames among them
    QString failure;  // empty when the command succeeded
};

// The Tool parameter file of `lines` writes, made from its plain source with Tool > Encrypt File.
constexpr int ParameterFirstAddress = 100;
constexpr int ParameterDataStep = 11;
constexpr int ParameterDataOffset = 5;

QString makeParameterFile(ProgramRig& rig, int lines) {
    const QString source = rig.folder.file(QStringLiteral("Tool.txt"));
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    QByteArray text = app::parameterFileTypeLine(app::ParameterFileKind::Tool).toLatin1() + "\r\n";
    text += "Bench parameters\r\n";
    for (int n = 0; n < lines; ++n)
        text += QByteArray::number(ParameterFirstAddress + n) + ',' +
                QByteArray::number((n * ParameterDataStep + ParameterDataOffset) & ByteMask) + "\r\n";
    if (out.write(text) != text.size())
        return {};
    out.close();
    rig.dialogs->fileName = source;
    rig.action(QStringLiteral("mnuEncryptToolFile"))->trigger();
    const QString prm = app::parameterFileNameFor(source);
    const QStringList& shown = rig.dialogs->messages;
    if (shown.isEmpty() || shown.back() != QStringLiteral("Data Encryption Completed") || !QFile::exists(prm))
        return {};
    rig.dialogs->messages.clear();
    return prm;
}

// The action the row triggers: the main window's, or one of the window that action opens in the main
// window's work area (opened at the first call).
QAction* rowAction(ProgramRig& rig, const MenuRow& row) {
    QAction* main = rig.action(QString::fromLatin1(row.action));
    if (!row.editorAction || !main)
        return main;
    if (!rig.editorAction) {
        main->trigger();
        rig.editorAction = rig.main->findChild<QAction*>(QString::fromLatin1(row.editorAction));
    }
    return rig.editorAction;
}

// Sets up what the row's command asks for, once per program.
bool prepareRow(ProgramRig& rig, const MenuRow& row) {
    rig.values->number = row.number;
    if (row.parameterLines > 0) {
        const QString prm = makeParameterFile(rig, row.parameterLines);
        if (prm.isEmpty())
            return false;
        rig.dialogs->fileName = prm;
    }
    return rowAction(rig, row) != nullptr;
}

// A frame of all data 0 on the identifier it has the dongle accept: a filter frame (some requests, the
// status read's among them, are one).
bool isFilterFrame(const sim::TcpDongle::Received& frame) {
    return frame.message.id == frame.accept && sim::isZeroData(frame.message);
}

Outcome runCommand(ProgramRig& rig, const MenuRow& row) {
    Outcome o;
    QAction* action = rowAction(rig, row);
    if (!action || !action->isEnabled()) {
        o.failure = QStringLiteral("the command is not there or not enabled");
        return o;
    }
    rig.dialogs->messages.clear();
    rig.dongle.frames.clear();
    const Clock::time_point t0 = Clock::now();
    action->trigger();
    o.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    for (const sim::TcpDongle::Received& f : rig.dongle.frames) {
        ++o.requests;
        o.filters += isFilterFrame(f) ? 1 : 0;
    }
    const QStringList& shown = rig.dialogs->messages;
    const bool ok = row.success
                        ? !shown.isEmpty() && shown.back().startsWith(QString::fromLatin1(row.success))
                        : shown.isEmpty();
    if (!ok)
        o.failure = QStringLiteral("boxes shown: ") + shown.join(QStringLiteral(" | "));
    if (!rig.unexpectedWindows.isEmpty())
        o.failure += QStringLiteral(" windows: ") + rig.unexpectedWindows.join(u',');
    rig.closeReports(row.editorAction != nullptr);
    return o;
}

// The command before a warm row's commands.
const MenuRow StatusRead{.name = "StatusRead", .action = "mnuReadSystemStatus"};

void fail(benchmark::State& state, const QString& why) {
    const std::string text = why.toStdString();
    state.SkipWithError(text.c_str());
}

// The program idles, reading what the line brings, as between a technician's commands.
void idle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, ConnectSliceMs);
}

void BM_Menu(benchmark::State& state, const MenuRow& row, Framing framing) {
    std::unique_ptr<ProgramRig> rig;
    double firstMs = 0;
    int requests = 0;
    int filters = 0;
    for (auto _ : state) {
        if (!rig || row.start == Start::AfterConnect) {
            rig.reset();
            rig = std::make_unique<ProgramRig>(framing);
            if (!rig->ready() || !prepareRow(*rig, row)) {
                fail(state, QStringLiteral("the program did not start, connect, log in or prepare"));
                break;
            }
            if (row.start != Start::AfterConnect) {
                const Outcome first = runCommand(*rig, row.start == Start::Again ? row : StatusRead);
                if (!first.failure.isEmpty()) {
                    fail(state, QStringLiteral("first command: ") + first.failure);
                    break;
                }
                firstMs = first.seconds * MsPerSecond;
            }
        }
        idle(row.pauseMs);
        const Outcome o = runCommand(*rig, row);
        if (!o.failure.isEmpty()) {
            fail(state, o.failure);
            break;
        }
        state.SetIterationTime(o.seconds);
        requests += o.requests;
        filters += o.filters;
    }
    state.counters["requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
    state.counters["filters"] = benchmark::Counter(filters, benchmark::Counter::kAvgIterations);
    if (row.start == Start::Again)
        state.counters["first_ms"] = firstMs;
    state.SetLabel(framingName(framing));
}

// Iterations: each row runs for a few seconds at most in the slower tree, the bulk reads once.
constexpr int QuickIterations = 10;
// A command read again as a technician would: longer after the last than a gateway's copy can come.
constexpr int TechnicianPauseMs = 400;
constexpr int PausedIterations = 5;
constexpr int ReportIterations = 3;
constexpr int LongIterations = 2;
constexpr int BulkIterations = 1;
constexpr int ConnectIterations = 5;
constexpr int DspLocation = 10;
constexpr int RundownPset = 1;
constexpr int ShortParameterFile = 4;
constexpr int LongParameterFile = 20;

const MenuRow MenuRows[] = {
    {.name = "SystemViewParameterSets",
     .action = "mnuSystemReadParameterSets",
     .iterations = ReportIterations},
    {.name = "PsetEditorReceive8",
     .action = "mnuPset",
     .iterations = ReportIterations,
     .editorAction = "mnuReceiveData"},
    {.name = "ToolWriteParameters4",
     .action = "mnuWriteToolParameters",
     .iterations = ReportIterations,
     .success = "Data In File Transfered Successfully",
     .parameterLines = ShortParameterFile},
    {.name = "ToolWriteParameters20",
     .action = "mnuWriteToolParameters",
     .iterations = LongIterations,
     .success = "Data In File Transfered Successfully",
     .parameterLines = LongParameterFile},
    {.name = "NsmClockReadAgain",
     .action = "mnuNsmViewTimeDate",
     .iterations = QuickIterations,
     .success = "Time: "},
    {.name = "NsmClockReadAfterPause",
     .action = "mnuNsmViewTimeDate",
     .iterations = PausedIterations,
     .success = "Time: ",
     .pauseMs = TechnicianPauseMs},
    {.name = "DspLocationReadAgain",
     .action = "mnuViewDspEepromLocation",
     .iterations = QuickIterations,
     .success = "Eeprom Address: ",
     .number = DspLocation},
    {.name = "StatusReadAgain", .action = "mnuReadSystemStatus", .iterations = QuickIterations},
    {.name = "NsmViewSettingsAfterConnect",
     .action = "mnuNsmViewSettings",
     .start = Start::AfterConnect,
     .iterations = ConnectIterations},
    {.name = "ToolViewParameters",
     .action = "mnuReadToolParameters",
     .start = Start::Warm,
     .iterations = BulkIterations},
    {.name = "ToolViewRpmAfterConnect",
     .action = "mnuRPM",
     .start = Start::AfterConnect,
     .iterations = ConnectIterations,
     .success = "Tool RPM = "},
    {.name = "ToolViewDiagnosticsAfterConnect",
     .action = "mnuDiag",
     .start = Start::AfterConnect,
     .iterations = ConnectIterations,
     .success = "Tool Offset Voltage"},
    {.name = "ToolViewAllEepromLocations",
     .action = "mnuReadAllToolEeLocations",
     .start = Start::Warm,
     .iterations = BulkIterations},
    {.name = "SystemViewRundownData",
     .action = "mnuSystemReadRundownData",
     .start = Start::Warm,
     .iterations = BulkIterations,
     .number = RundownPset},
};

// --- the held bulk transfers of the link alone ---

// The link on Ethernet to a controller that answers once per request and holds every answer.
struct HeldLinkRig {
    explicit HeldLinkRig(int holdMs) {
        setFraming(dongle, Framing::Once);
        dongle.replyDelay = holdMs;
        dongle.listen(0);
        link.state.ConnectionType = clink::TcpIp;
        link.socket.connectTo(Loopback, dongle.port());
        QElapsedTimer t;
        t.start();
        while (!(link.socket.isConnected() && dongle.hasClient()) && t.elapsed() < ConnectTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, ConnectSliceMs);
        // The editors' link check before a transaction awaiting the command reply.
        link.dataTx.ConfigureCanDongle(ids::CommandReply);
        link.ethernet.SendFilterFrame(ids::CommandReply);
    }

    base::QtEventPump pump;
    clink::SteadyLinkClock clock;
    base::UnattendedDialogs dialogs;
    sim::ControllerModel model;
    clink::ControllerLink link{pump, dialogs, clock};
    sim::TcpDongle dongle{model};
};

constexpr int ImageBlocks = 117;
constexpr int BlockBytes = 6;
constexpr int ImageByteStep = 37;
constexpr int ImageByteOffset = 11;

// Runs the transfer once per iteration, timing it and counting the requests with this code.
template <class Transfer>
void heldTransfer(benchmark::State& state, HeldLinkRig& rig, int code, Transfer transfer) {
    int requests = 0;
    for (auto _ : state) {
        const int before = rig.model.countReceived(ids::CommandRequest, code);
        const Clock::time_point t0 = Clock::now();
        const bool ok = transfer();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        requests += rig.model.countReceived(ids::CommandRequest, code) - before;
        if (!ok) {
            state.SkipWithError("a block did not pass");
            break;
        }
    }
    state.counters["requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
}

void BM_LogicImageReceiveHeld(benchmark::State& state) {
    HeldLinkRig rig(int(state.range(0)));
    blockrx::BlockReceiver receiver(rig.link, logicio::rungTableReceiveCounts(rig.link.state.TransferDelay));
    heldTransfer(state, rig, codes::LogicBlockRequest, [&] { return receiver.receive(1, ImageBlocks); });
}

void BM_LogicImageSendHeld(benchmark::State& state) {
    HeldLinkRig rig(int(state.range(0)));
    for (int i = 0; i < ImageBlocks * BlockBytes; ++i)
        rig.link.state.DataBuffer.put(i, (i * ImageByteStep + ImageByteOffset) & ByteMask);
    heldTransfer(state, rig, codes::LogicBlock, [&] {
        for (int n = 1; n <= ImageBlocks; ++n)
            if (!rig.link.dataTx.SendLogicIoProgram(n))
                return false;
        return true;
    });
}

void BM_LadderImageReceiveHeld(benchmark::State& state) {
    HeldLinkRig rig(int(state.range(0)));
    blockrx::BlockReceiver receiver(rig.link, ladder::ladderReceiveCounts());
    heldTransfer(state, rig, codes::LogicBlockRequest,
                 [&] { return receiver.receive(0, ladder::LastReceiveBlock); });
}

// Answer holds: one just beyond the sender's wait, one beyond it by half, one by five times.
constexpr int SlowHoldMs = 130;
constexpr int ShortHoldMs = 150;
constexpr int LongHoldMs = 400;

void registerRows() {
    for (const MenuRow& row : MenuRows)
        for (Framing framing : {Framing::Once, Framing::AckThenReply})
            benchmark::RegisterBenchmark((std::string(row.name) + '/' + framingName(framing)).c_str(),
                                         BM_Menu, row, framing)
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(row.iterations);
    const auto held = [](const char* name, void (*fn)(benchmark::State&),
                         std::initializer_list<int64_t> holds) {
        benchmark::RegisterBenchmark(name, fn)
            ->ArgsProduct({holds})
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
    };
    held("LogicImageReceive117Held", &BM_LogicImageReceiveHeld, {SlowHoldMs, ShortHoldMs, LongHoldMs});
    held("LogicImageSend117Held", &BM_LogicImageSendHeld, {SlowHoldMs});
    held("LadderImageReceive110Held", &BM_LadderImageReceiveHeld, {SlowHoldMs});
}

} // namespace

// A widget application on the offscreen platform (unless another is asked for) around Google Benchmark's
// runner; a row that stops with an error makes the program fail.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerRows();
    benchsupport::FailureNotingReporter reporter(isatty(STDOUT_FILENO)
                                                     ? benchmark::ConsoleReporter::OO_ColorTabular
                                                     : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.failed ? 1 : 0;
}
