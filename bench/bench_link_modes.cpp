// The controller's two ways of answering side by side, over Ethernet against the in-process stand-in: one
// answer per request (arg 0) and an acknowledgement before each reply (arg 1). A tool-EEPROM read, each of
// the settings collection's six collectors alone, and the whole collection with every box ticked; the last
// one runs both modes in turn and reports their times and how many times longer answering once takes.
#include "app/appservices.h"
#include "link/blockreceive.h"
#include "bench/benchrigs.h"
#include "bench/benchsupport.h"
#include "ladder/laddermodule.h"
#include "logicio/logicmodule.h"
#include "service/logiccollector.h"
#include "service/psetcollector.h"
#include "service/reportcollectors.h"
#include "service/rundowncollector.h"
#include "service/servicemodule.h"
#include "service/settingscollection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using Rig = benchsupport::EthernetRig;

constexpr int OnceArg = 0;
constexpr int ToolEepromBytes = 1024;
constexpr int DspBlockBytes = 128;
constexpr int ControllerPsets = 8;
constexpr int ConnectTimeoutMs = 5000;
constexpr int ConnectSliceMs = 10;
constexpr double MsPerSecond = 1000.0;

bool answersOnce(const benchmark::State& state) {
    return state.range(0) == OnceArg;
}

const char* modeName(bool once) {
    return once ? "answer once per request" : "acknowledgement then reply";
}

void setMode(sim::TcpDongle& dongle, bool once) {
    dongle.ackThenReply = !once;
}

void BM_ToolEepromReadModes(benchmark::State& state) {
    Rig rig;
    setMode(rig.dongle, answersOnce(state));
    clink::DataTx& tx = rig.link.dataTx;
    const std::clock_t cpu0 = std::clock();
    int address = 0;
    for (auto _ : state) {
        rig.link.state.DataCount = 0;
        if (!tx.ReadToolEeprom(address++ % ToolEepromBytes))
            state.SkipWithError("the read failed");
    }
    benchsupport::reportCpu(state, cpu0);
    state.SetLabel(modeName(answersOnce(state)));
}

// The collection's dialogs: the file name asked for, and Yes to the logic receive's question.
class CollectionDialogs : public base::UnattendedDialogs {
public:
    explicit CollectionDialogs(QString fileName) : fileName_(std::move(fileName)) {}
    bool askYesNo(const QString&, const QString&, base::MessageIcon) override { return true; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return fileName_; }

private:
    QString fileName_;
};

class NoValueEntry : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm&) override { return app::ValueButton::Cancel; }
};

class NoTextViewer : public app::TextViewer {
public:
    void show(const QString&, const base::TextLines&) override {}
};

class QuietPage : public service::CollectorPage {
public:
    void setBar(int) override {}
    void clearList() override {}
    void addLines(const QStringList&) override {}
    void showEditor(service::ProgramEditor) override {}
    void closeEditor(service::ProgramEditor) override {}
};

// The program's services in a program folder of their own, on Ethernet to the stand-in, with the cores the
// settings collection drives; the controller holds distinct values in every place the collection reads.
class CollectionRig {
public:
    explicit CollectionRig(bool once) : home_(homeSet(folder_)), ctx_(services(folder_, dialogs_)) {
        fillController();
        setMode(dongle, once);
        dongle.listen(0);
        clink::LinkState& s = ctx_->state;
        s.ConnectionType = clink::TcpIp;
        s.ControllerIpAddress = QStringLiteral("127.0.0.1");
        s.ControllerIpPort = QString::number(dongle.port());
        ctx_->palverin.SaveIniFile();
        ctx_->link.socket.connectTo(s.ControllerIpAddress, dongle.port());
        QElapsedTimer t;
        t.start();
        while (!(ctx_->link.socket.isConnected() && dongle.hasClient()) && t.elapsed() < ConnectTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, ConnectSliceMs);
    }
    ~CollectionRig() {
        if (oldHome_.isEmpty())
            qunsetenv("PALVERIN_HOME");
        else
            qputenv("PALVERIN_HOME", oldHome_);
    }

    QString base() const { return QDir(folder_.path()).filePath(QStringLiteral("Cell")); }
    app::AppServices& ctx() { return *ctx_; }
    // Every box ticked; true when each one was collected and no box was shown.
    bool collectAll() {
        service::SettingsCollection collection(module);
        collection.Form_Load();
        for (int box = 0; box < service::CollectBoxes; ++box)
            collection.ChkSelection_Click(box, service::BoxState::Ticked);
        collection.mnuBegin_Click();
        bool all = dialogs_->messages.isEmpty();
        for (int box = 0; box < service::CollectBoxes; ++box)
            all = all && collection.box(box) == service::BoxState::Grey;
        return all;
    }

private:
    static bool homeSet(const QTemporaryDir& folder) {
        qputenv("PALVERIN_HOME", folder.path().toUtf8());
        return true;
    }
    std::unique_ptr<app::AppServices> services(const QTemporaryDir& folder, CollectionDialogs*& dialogs) {
        app::AppSeams seams;
        auto owned =
            std::make_unique<CollectionDialogs>(QDir(folder.path()).filePath(QStringLiteral("Cell.txt")));
        dialogs = owned.get();
        seams.dialogs = std::move(owned);
        seams.pump = std::make_unique<base::QtEventPump>();
        seams.clock = std::make_unique<clink::SteadyLinkClock>();
        seams.valuePrompt = std::make_unique<NoValueEntry>();
        seams.textViewer = std::make_unique<NoTextViewer>();
        auto ctx = std::make_unique<app::AppServices>(std::move(seams));
        ctx->palverin.LoadIniFiles();
        return ctx;
    }
    void fillController() {
        model.psetCount = ControllerPsets;
        for (int p = 1; p <= ControllerPsets; ++p)
            for (size_t i = 0; i < model.psets[size_t(p)].size(); ++i)
                model.psets[size_t(p)][i] = int((size_t(p) * 31 + i * 7 + 1) & 0xFF);
        for (int a = 0; a < ToolEepromBytes; ++a)
            model.toolEeprom[size_t(a)] = uint8_t((a * 7 + 3) & 0xFF);
        for (int a = 0; a < DspBlockBytes; ++a)
            model.dspBytes[size_t(a)] = uint8_t((a * 5 + 2) & 0xFF);
    }

    QByteArray oldHome_ = qgetenv("PALVERIN_HOME");
    QTemporaryDir folder_;
    bool home_;
    CollectionDialogs* dialogs_ = nullptr;
    std::unique_ptr<app::AppServices> ctx_;

public:
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    logicio::LogicModule logic{*ctx_};
    ladder::LadderModule ladder{*ctx_};
    service::ServiceModule module{
        *ctx_, service::ProgramCores{.logic = logic, .ladder = ladder},
        std::make_unique<QSettings>(QDir(folder_.path()).filePath(QStringLiteral("user.ini")),
                                    QSettings::IniFormat)};
};

std::unique_ptr<service::Collector> collectorOfBox(CollectionRig& rig, int box) {
    app::AppServices& ctx = rig.ctx();
    switch (box) {
    case service::PsetsBox:
        return std::make_unique<service::PsetCollector>(ctx);
    case service::LogicIoBox:
        return std::make_unique<service::LogicIoCollector>(ctx, rig.logic, rig.ladder);
    case service::DspParmsBox:
        return std::make_unique<service::DspParmsCollector>(ctx);
    case service::ToolParmsBox:
        return std::make_unique<service::ToolParmsCollector>(ctx);
    case service::ToolEpromBox:
        return std::make_unique<service::ToolEpromCollector>(ctx);
    default:
        return std::make_unique<service::RundownsCollector>(ctx);
    }
}

// Arg 0: the mode; arg 1: the box whose collector runs alone.
void BM_CollectorModes(benchmark::State& state) {
    const bool once = answersOnce(state);
    const int box = int(state.range(1));
    CollectionRig rig(once);
    std::unique_ptr<service::Collector> collector = collectorOfBox(rig, box);
    QuietPage page;
    for (auto _ : state) {
        if (!collector->collect(rig.base(), page))
            state.SkipWithError("the collector failed");
    }
    state.SetLabel(QStringLiteral("%1, %2")
                       .arg(service::BoxCaptions[size_t(box)], QString::fromLatin1(modeName(once)))
                       .toStdString());
}

// The whole collection, every box ticked: acknowledgement+reply first, then once per request. The time
// measured is the once-answering run's.
void BM_SettingsCollectionBothModes(benchmark::State& state) {
    double ackSeconds = 0;
    double onceSeconds = 0;
    for (auto _ : state) {
        for (bool once : {false, true}) {
            CollectionRig rig(once);
            QElapsedTimer t;
            t.start();
            if (!rig.collectAll())
                state.SkipWithError(once ? "answer once: a box failed"
                                         : "acknowledgement+reply: a box failed");
            (once ? onceSeconds : ackSeconds) += double(t.elapsed()) / MsPerSecond;
        }
        state.SetIterationTime(onceSeconds);
    }
    const double runs = double(state.iterations());
    state.counters["ack_s"] = ackSeconds / runs;
    state.counters["once_s"] = onceSeconds / runs;
    state.counters["once_per_ack"] = ackSeconds > 0 ? onceSeconds / ackSeconds : 0;
}

void collectorArgs(benchmark::internal::Benchmark* b) {
    for (int box = 0; box < service::CollectBoxes; ++box)
        for (int mode : {OnceArg, 1})
            b->Args({mode, box});
}

} // namespace

BENCHMARK(BM_ToolEepromReadModes)->Arg(OnceArg)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CollectorModes)
    ->Apply(collectorArgs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_SettingsCollectionBothModes)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);
