// Every writer of the program on a disk that fills up at the first byte or partway, fails a sync, a link, a
// rename or the folder's sync, in each of its files, with and without unnamed files and links, while calls
// are interrupted and writes short: the user is told why, every file is old or every file new, and nothing
// is left beside them. An append whose cut-back fails says so.
#include "app/parameterfile.h"
#include "app/ui/frmoutput.h"
#include "app/ui/frmsetconnection.h"
#include "ladder/laddereditor.h"
#include "logicio/logiceditor.h"
#include "logicio/logicmodule.h"
#include "monitor/curvefiles.h"
#include "monitor/runscreenlog.h"
#include "monitor/seriallogger.h"
#include "pset/psetsession.h"
#include "service/collector.h"
#include "service/collectselection.h"
#include "tests/support/diskfault/diskfault.h"
#include "tests/support/memoryserialport.h"
#include "tests/support/servicesfixture.h"

#include <QLabel>

#include <functional>
#include <map>

namespace {

using diskfault::Call;

// Where the disk fails: full from the first write, or from the second when writes take 16 bytes (partway:
// fewer than any writer writes), or its syncs; or every write, sync, link, rename and folder sync in turn,
// each write and sync interrupted once and writes of at most 1000 bytes.
// clang-format off
const struct Point {
    const char* name;
    std::vector<Call> calls;
    int first;
    qint64 shortWrites;
} Points[] = {{"FirstByte", {Call::Write}, 1, 0}, {"Partway", {Call::Write}, 2, 16}, {"Commit", {Call::Sync}, 1, 0},
              {"EachCall", {Call::Write, Call::Sync, Call::Link, Call::Rename, Call::FolderSync}, 1, 1000}};
// clang-format on
class DiskFaults;
// A writer: the files it writes (the first is the one named to the user), what the user is told when it
// fails (%1 the file, %2 the reason), and the save as the user starts it.
struct Writer {
    const char* name;
    QStringList files;
    QString told;
    std::function<void(DiskFaults&)> save;
    bool toldOnce = false; // a log told once while it cannot be written, not at every row
};

class DiskFaults : public testsupport::ServicesFixture {
public:
    using testsupport::ServicesFixture::ctx;
    using testsupport::ServicesFixture::dialogs;
    DiskFaults() { EXPECT_TRUE(folder.write("tool.txt", QByteArray(900, 'o') + "\r\n")); } // a parameter text

    QString path(const QString& name) const { return folder.file(name); }
    // What the save told: the error a core writer gave, or the boxes shown. A save prompt is answered with
    // the writer's file, and the question whether to replace it with yes.
    QString told(const Writer& writer) {
        error.clear();
        dialogs->fileNames = QQueue<QString>({path(writer.files[0])});
        dialogs->okCancelAnswers = dialogs->yesNoAnswers = QQueue<bool>({true});
        writer.save(*this);
        const QString boxes = dialogs->messageTexts().join(u'\n');
        dialogs->messages.clear();
        return error.isEmpty() ? boxes : error;
    }
    std::map<QString, QByteArray> files() const {
        std::map<QString, QByteArray> bytes;
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
            bytes[name] = folder.read(name);
        return bytes;
    }
    QString error;
    logicio::LogicModule logic{ctx};
    ladder::LadderEditor ladder = [this] {
        ladder::LadderEditor editor(*dialogs);
        editor.addRung();
        return editor;
    }();
    testsupport::MemorySerialPort port;
    monitor::SerialLoggerSession logger{port, *dialogs};
};

const QString UnableToWrite = QStringLiteral("Unable To Write File %1\r\n%2");
const QString UnableToWriteLogic = QStringLiteral("Unable to write file %1\r\n%2");
const QString NotStored = QStringLiteral("Error - Data Not Stored\r\n%1: %2");
const QString Reason = QStringLiteral("%2");
const QString NoSpace = QStringLiteral("No space left on device");
const QString IoError = QStringLiteral("Input/output error");

// The connection window shows before a failed save is told over it, and says nothing saved then.
void openConnectionWindow(DiskFaults& f) {
    app::FrmSetConnection window(f.ctx, f.ctx.busy, [&f] { return f.ctx.palverin.SaveIniFile(); });
    f.dialogs->onMessage = [&window](const auto&) { EXPECT_TRUE(window.isVisible()); };
    window.show();
    QCoreApplication::processEvents();
    f.dialogs->onMessage = {};
    EXPECT_EQ(window.findChild<QLabel*>("lblSaved")->text().isEmpty(), !f.dialogs->messages.empty());
}

// One writer a row.
// clang-format off
const std::vector<Writer> Writers = {
    {"OutputWindowSave", {"report.txt"}, NotStored,
     [](DiskFaults& f) { app::saveOutputLines(QStringList(200, "Final Torque   12.5 Nm"), *f.dialogs); }},
    {"SettingsFiles", {"Brenstal.ini", "delays.ini"}, NotStored,
     [](DiskFaults& f) { f.ctx.palverin.SaveIniFile(); }},
    {"ConnectionWindow", {"Brenstal.ini", "delays.ini"}, NotStored, openConnectionWindow},
    {"PsetFile", {"line.Pst"}, "Error - Project Not Saved\r\n%1: %2", [](DiskFaults& f) {
        pset::PsetEditorSession(f.ctx).mnuSave_Click(); }},
    {"LogicFile", {"cell.Lio"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version2).save(); }},
    {"BatchLogicFile", {"cell.Bio", "cellB.Aio"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version3).save(); }},
    {"LogicReport", {"Default.txt"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version2).print(); }},
    {"LadderFile", {"press.Plc"}, UnableToWrite, [](DiskFaults& f) { f.ladder.saveAs(f.path("press.Plc")); }},
    {"LadderPrintout", {"press.txt"}, UnableToWrite,
     [](DiskFaults& f) { f.ladder.writePrintout(f.path("press.txt")); }},
    {"ParameterFile", {"tool.prm"}, UnableToWrite, [](DiskFaults& f) {
        f.error = app::encryptParameterSource(f.path("tool.txt"), f.ctx.palverin.scrambler, {}, {})
                      .errorText; }},
    {"CollectedReport", {"CellRundowns.txt"}, UnableToWrite, [](DiskFaults& f) {
        service::CollectorTools(f.ctx).writeReport(f.path("CellRundowns.txt"), QStringList(300, "Run")); }},
    {"CollectSelection", {"DLOAD.cfg"}, Reason,
     [](DiskFaults& f) { service::saveCollectSelection({{-1, -1}, 7}, &f.error); }},
    {"CurveCollection", {"curves.col"}, Reason, [](DiskFaults& f) {
        monitor::writeCurveCollection(f.path("curves.col"), QStringList(40, f.path("c.dat")), &f.error); }},
    // The run screen's log; its status line says what the error says.
    {"RundownLog", {"Pset_RundownData.txt"}, Reason,
     [](DiskFaults& f) { monitor::RundownLogFile::append(QStringList(13, "12.5"), &f.error); }},
    {"SerialRundownLog", {"FinalData.txt"}, "Unable to write FinalData.txt: %2", [](DiskFaults& f) {
        if (!f.port.isOpen())
            f.logger.open(QStringLiteral("ttyS0"));
        f.port.arrive("@R\r\nSPINDLE 01:" + QByteArray(63, 'a') + "\r\n12@END\r\n"); }, true},
};
// clang-format on

class EveryWriter : public DiskFaults,
                    public ::testing::WithParamInterface<std::tuple<Writer, Point, bool>> {};

TEST_P(EveryWriter, TheUserIsToldWhyAndTheFilesStayAsTheyWere) {
    // unnamed: the folder's file system has unnamed files and links (most have; a memory stick's has not).
    const auto& [writer, point, unnamed] = GetParam();
    const auto plant = [&] {
        for (const QString& name : writer.files)
            EXPECT_TRUE(folder.write(name, QByteArray(900, 'o') + "\r\n" + name.toLatin1() + "\r\n"));
        return files();
    };
    // The nth call fails: told once, of the file the fault met (one of the writer's when the system has no
    // name for it) and the reason, and every file old. Past the last such call the save is told as without
    // faults, and every file is new with nothing beside it.
    plant();
    const QString saved = told(writer);
    const bool each = point.calls.size() > 1;
    for (const Call call : point.calls) {
        for (int nth = point.first;; ++nth) {
            const auto before = plant();
            diskfault::arm({folder.path(), unnamed, call, nth, each, point.shortWrites});
            const QString shown = told(writer);
            EXPECT_TRUE(!writer.toldOnce || shown == saved || told(writer).isEmpty()); // told once, not again
            const QString met = QFileInfo(diskfault::met()).fileName().remove(".saving").remove(".kept");
            diskfault::disarm();
            const auto after = files();
            const std::string at = std::to_string(int(call)) + " at " + std::to_string(nth);
            if (met.isEmpty()) {
                EXPECT_EQ(shown, saved) << at;
                for (const QString& name : writer.files)
                    EXPECT_NE(after.at(name), before.at(name)) << at;
                EXPECT_EQ(after.size(), before.size()) << at;
                break;
            }
            QStringList toldOfFile;
            for (const QString& file : writer.files.contains(met) ? QStringList{met} : writer.files)
                toldOfFile << QString(writer.told)
                                  .replace("%1", path(file))
                                  .replace("%2", call == Call::Write ? NoSpace : IoError);
            EXPECT_TRUE(toldOfFile.contains(shown)) << at << ": " << shown.toStdString();
            EXPECT_TRUE(after == before) << at;
            if (!each)
                break;
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<EveryWriter::ParamType>& info) {
    const auto& [writer, point, unnamed] = info.param;
    return writer.name + std::string(point.name) + (unnamed ? "" : "Named");
}

INSTANTIATE_TEST_SUITE_P(Writers, EveryWriter,
                         ::testing::Combine(::testing::ValuesIn(Writers), ::testing::ValuesIn(Points),
                                            ::testing::Bool()),
                         caseName);

// A full disk cuts a row, and the cut-back fails too: the user is told both, and the next row starts on a
// line of its own after the part left.
TEST_F(DiskFaults, AnAppendThatCannotBeCutBackSaysSo) {
    constexpr qint64 Room = 16; // bytes that go in before the disk is full
    ASSERT_TRUE(folder.write(QStringLiteral("Pset_RundownData.txt"), "rows\r\n"));
    diskfault::arm({folder.path(), true, Call::CutBack, 1, false, 0, Room});
    const QStringList row(13, QStringLiteral("12.5"));
    EXPECT_FALSE(monitor::RundownLogFile::append(row, &error));
    diskfault::disarm();
    EXPECT_EQ(error, NoSpace + "\r\n" + base::PartRowLeftText + ": " + IoError);
    const QByteArray cut = folder.read(QStringLiteral("Pset_RundownData.txt"));
    EXPECT_EQ(cut.size(), 6 + Room);
    ASSERT_TRUE(monitor::RundownLogFile::append(row));
    EXPECT_EQ(folder.read(QStringLiteral("Pset_RundownData.txt")),
              cut + "\r\n" + base::joinLinesCrLf({monitor::RundownLogFile::row(row)}));
}

} // namespace
