// Every writer of the program on a disk that fills up at the first byte or partway, or fails the sync that
// completes the file, with and without unnamed files: the user is told why, the files stay byte for byte,
// and nothing is left beside them.
#include "app/parameterfile.h"
#include "app/ui/frmoutput.h"
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

#include <functional>
#include <map>

namespace {

// Where the disk fails: the bytes that go in before it is full (partway: fewer than any writer writes),
// or, at the commit, none short but the sync.
enum Point { FirstByte, Partway, Commit };
constexpr qint64 Room[] = {0, 16, std::numeric_limits<qint64>::max()};
class DiskFaults;
// A writer: the files it changes (the first is the one named to the user), what the user is told when it
// fails (%1 the file, %2 the reason), and the save as the user starts it.
struct Writer {
    const char* name;
    QStringList files;
    QString told;
    std::function<void(DiskFaults&)> save;
    bool toldOnce = false; // a log told once while it cannot be written, not at every row
};

class DiskFaults : public testsupport::ServicesFixture,
                   public ::testing::WithParamInterface<std::tuple<Writer, Point, bool>> {
public:
    using testsupport::ServicesFixture::ctx;
    using testsupport::ServicesFixture::dialogs;

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

// One writer a row.
// clang-format off
const std::vector<Writer> Writers = {
    {"OutputWindowSave", {"report.txt"}, NotStored,
     [](DiskFaults& f) { app::saveOutputLines(QStringList(200, "Final Torque   12.5 Nm"), *f.dialogs); }},
    {"SettingsFiles", {"Brenstal.ini", "delays.ini"}, NotStored,
     [](DiskFaults& f) { f.ctx.palverin.SaveIniFile(); }},
    {"PsetFile", {"line.Pst"}, Reason, [](DiskFaults& f) { pset::PsetEditorSession(f.ctx).mnuSave_Click(); }},
    {"LogicFile", {"cell.Lio"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version2).save(); }},
    {"BatchLogicFile", {"cell.Bio", "cellB.Aio"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version3).save(); }},
    {"LogicReport", {"Default.txt"}, UnableToWriteLogic,
     [](DiskFaults& f) { logicio::LogicEditor(f.logic, logicio::LogicVariant::Version2).print(); }},
    {"LadderFile", {"press.Plc"}, UnableToWrite, [](DiskFaults& f) { f.ladder.saveAs(f.path("press.Plc")); }},
    {"LadderPrintout", {"press.txt"}, UnableToWrite,
     [](DiskFaults& f) { f.ladder.writePrintout(f.path("press.txt")); }},
    {"ParameterFile", {"tool.prm", "tool.txt"}, UnableToWrite, [](DiskFaults& f) {
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

TEST_P(DiskFaults, TheUserIsToldWhyAndTheFilesStayAsTheyWere) {
    // unnamed: the folder's file system has unnamed files (most have; a memory stick's has not).
    const auto& [writer, point, unnamed] = GetParam();
    for (const QString& name : writer.files)
        ASSERT_TRUE(folder.write(name, QByteArray(900, 'o') + "\r\n" + name.toLatin1() + "\r\n"));
    const auto before = files();
    const bool commit = point == Commit;
    diskfault::arm({folder.path(), Room[point], commit, unnamed});
    const QString reason =
        commit ? QStringLiteral("Input/output error") : QStringLiteral("No space left on device");
    EXPECT_EQ(told(writer).toStdString(),
              QString(writer.told).replace("%1", path(writer.files[0])).replace("%2", reason).toStdString());
    if (writer.toldOnce) {
        EXPECT_EQ(told(writer), QString());
    }
    diskfault::disarm();
    EXPECT_TRUE(files() == before);
}

std::string caseName(const ::testing::TestParamInfo<DiskFaults::ParamType>& info) {
    static const char* const Points[] = {"FirstByte", "Partway", "Commit"};
    const auto& [writer, point, unnamed] = info.param;
    return writer.name + std::string(Points[point]) + (unnamed ? "" : "Named");
}

INSTANTIATE_TEST_SUITE_P(Writers, DiskFaults,
                         ::testing::Combine(::testing::ValuesIn(Writers),
                                            ::testing::Values(FirstByte, Partway, Commit), ::testing::Bool()),
                         caseName);

} // namespace
