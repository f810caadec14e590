// Every reader of a whole text or ladder file, run once on a hostile 50 MB file: line feeds only (a file of
// empty lines), one line of 50 MB, random bytes or NUL bytes. Each reader runs in a child process of its own,
// so the peak memory reported is that reader's (with the child's program around it), not what an earlier one
// left behind. More lines read 50 MB of real reports, a real parameter source (and one whose free-text line
// is 50 MB), a whole ladder (and one whose elements all repeat one key), print pages of 50 MB to a PDF
// printer, and open a ladder nested 30,000 deep. One line per reader:
//
//   reader <name>: <seconds> s, <peak MB> MB
//
// The seconds are the reader's own, from the moment its file is in place to the moment it returned (the
// viewers once their window has been painted); the peak is the child's resident high-water mark. A child
// that runs past its time is stopped and reported as such. What a reader told the user goes to stderr.
// `--megabytes N` makes every file N MB instead (a short run that shows each reader still ends).
#include "app/appservices.h"
#include "app/parameterfile.h"
#include "app/ui/appcontext.h"
#include "app/ui/textviewer.h"
#include "base/numbertext.h"
#include "base/printout.h"
#include "base/textlines.h"
#include "ladder/laddereditor.h"
#include "ladder/laddermodule.h"
#include "ladder/plcnoderecord.h"
#include "ladder/ui/frmplcio.h"
#include "link/linkclock.h"
#include "logicio/ladderconverter.h"
#include "monitor/runscreenlog.h"
#include "monitor/seriallogger.h"
#include "monitor/statssession.h"
#include "monitor/ui/frmresults.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QQueue>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr qint64 BytesPerKib = 1024;
constexpr qint64 BytesPerMib = 1024 * BytesPerKib;
// The size of every file read: 50 MB, or what --megabytes asks (a short run that only shows every reader
// still ends).
constexpr qint64 DefaultFileMib = 50;
qint64 fileBytes = DefaultFileMib * BytesPerMib;
constexpr qint64 ChunkBytes = BytesPerMib;
constexpr double KibPerMib = 1024.0;
constexpr double NanosecondsPerSecond = 1e9;
// A child is stopped after this long, and may take no more address space than this: a reader that holds
// many times its file must not take the machine's memory with it.
constexpr auto ChildTimeLimit = std::chrono::seconds(120);
constexpr auto ChildPoll = std::chrono::milliseconds(20);
constexpr rlim_t ChildAddressSpace = rlim_t(8) * 1024 * 1024 * 1024;

// The hostile files, made once by the parent and linked into each child's folder.
const QString LineFeeds = QStringLiteral("linefeeds.bin");
const QString OneLine = QStringLiteral("oneline.bin");
const QString RealReport = QStringLiteral("report.txt");
const QString RealLog = QStringLiteral("finaldata.txt");
const QString LargeLadder = QStringLiteral("ladder.Plc");
const QString RepeatedKeyLadder = QStringLiteral("repeated.Plc");
const QString DeepLadder = QStringLiteral("deep.Plc");
const QString RandomBytes = QStringLiteral("random.bin");
const QString NulBytes = QStringLiteral("nul.bin");
const QString ParameterSource = QStringLiteral("parameters.txt");
const QString LongTitleSource = QStringLiteral("title.txt");
// The ladder nested this deep, each node the child of the one before.
constexpr int DeepLevels = 30000;
constexpr int PrintResolution = 600;
// The pages printed of a file of 50 MB (up to 700,000 pages): the PDF writer takes milliseconds a page, so
// the first PrintedPages show the cost of a page; a few pages further on show the cost of a range.
constexpr int PrintedPages = 500;
constexpr int FarPage = 10000;
constexpr int FarPages = 3;

class QuietPrintProgress : public base::PrintProgress {
public:
    void setRange(int, int) override {}
    void setValue(int value) override { printed = value; }
    bool stopAsked() override { return false; }
    int printed = 0;
};

// Dialogs that answer the file dialogs from a queue, keep every message and print the pages chosen to a
// PDF file.
class BenchDialogs : public base::UnattendedDialogs {
public:
    QString openFileName(const QString&, const QString&) override { return next(); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return next(); }
    bool printPages(base::Printout& printout) override {
        QuietPrintProgress progress;
        base::Printed printed = base::Printed::Failed;
        {
            QPdfWriter printer(pdf);
            printer.setResolution(PrintResolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printed = base::printChosenPages(printout, printer, pages, progress, *this);
        }
        messages += QStringLiteral("printed %1 pages from page %2 to PDF, %3 KB")
                        .arg(progress.printed)
                        .arg(pages.fromPage)
                        .arg(QFile(pdf).size() / BytesPerKib);
        return printed == base::Printed::Done;
    }
    QQueue<QString> fileNames;
    QString pdf;
    base::PrintChoice pages;

private:
    QString next() { return fileNames.isEmpty() ? QString() : fileNames.dequeue(); }
};

// The viewer as the program shows it, opened and painted but not waited on.
class PaintedTextViewer : public app::TextViewer {
public:
    explicit PaintedTextViewer(base::Dialogs& dialogs) : dialogs_(dialogs) {}
    void show(const QString& title, const base::TextLines& text) override {
        app::TextViewerDialog dialog(dialogs_, title, text);
        paint(dialog);
    }
    static void paint(QWidget& window) {
        window.show();
        QCoreApplication::processEvents();
        window.grab();
    }

private:
    base::Dialogs& dialogs_;
};

class NoPort : public base::SerialPort {
public:
    bool open(const QString&, const base::SerialSettings&) override { return false; }
    bool isOpen() const override { return false; }
    bool write(const QByteArray&) override { return false; }
    qint64 bytesToWrite() const override { return 0; }
    QByteArray readAll() override { return {}; }
    void close() override {}
    QString errorText() const override { return {}; }
};

class NoValueEntry : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm&) override { return app::ValueButton::Cancel; }
};

// One child's surroundings: its own folder (also the program's folder), the hostile files, the time.
struct Run {
    QString work;
    QString sources;
    QElapsedTimer clock;
    BenchDialogs dialogs;

    QString file(const QString& name) const { return QDir(work).filePath(name); }
    // Puts a hostile file in the child's folder under a name; the file is linked, not copied.
    QString place(const QString& source, const QString& name) const {
        const QString path = file(name);
        QFile::remove(path);
        if (::link(QFile::encodeName(QDir(sources).filePath(source)).constData(),
                   QFile::encodeName(path).constData()) != 0)
            QFile::copy(QDir(sources).filePath(source), path);
        return path;
    }
    void start() { clock.start(); }
    // Ends the timing before the reader's result is let go (a program the editor would keep).
    void stop() { seconds = double(clock.nsecsElapsed()) / NanosecondsPerSecond; }
    double seconds = -1;
};

using ReaderRun = std::function<void(Run&)>;

struct Reader {
    const char* name;
    bool windows; // needs a QApplication
    ReaderRun run;
};

QString saveSmallReport(const Run& run) {
    const QStringList lines = {QStringLiteral("File Type : Controller Rundown Data"),
                               base::fixed40(QStringLiteral("Torque Target: 12")),
                               base::fixed40(QStringLiteral("Torque Hi Limit: 16")),
                               base::fixed40(QStringLiteral("Torque Lo Limit: 8")),
                               QStringLiteral("TORQUE X"),
                               QString(76, u'-'),
                               QString(24, u' ') + QStringLiteral("10.00"),
                               QString(76, u'-')};
    const QString path = run.file(QStringLiteral("small.txt"));
    base::writeTextLines(path, lines);
    return path;
}

void statisticsLoad(Run& run, const QString& source) {
    const QString path = run.place(source, QStringLiteral("run.txt"));
    PaintedTextViewer viewer(run.dialogs);
    monitor::StatsSession session(run.dialogs, viewer);
    run.start();
    session.load(path);
    if (source == RealReport)
        session.mnuViewData_Click();
}

void statisticsView(Run& run) {
    // A report loaded, then replaced on disk by the hostile file: Data File shows what the file holds now.
    PaintedTextViewer viewer(run.dialogs);
    monitor::StatsSession session(run.dialogs, viewer);
    const QString small = saveSmallReport(run);
    session.load(small);
    QFile::remove(small);
    run.place(LineFeeds, QStringLiteral("small.txt"));
    run.start();
    session.mnuViewData_Click();
}

void viewLogFile(Run& run, const QString& source) {
    run.place(source, QStringLiteral("FinalData.txt"));
    NoPort port;
    PaintedTextViewer viewer(run.dialogs);
    monitor::SerialLoggerSession session(port, run.dialogs);
    run.start();
    session.viewLog(viewer);
}

void settingsLoad(Run& run, const QString& name) {
    clink::LinkState link;
    app::ProgramCore palverin(link, run.dialogs, run.work);
    palverin.WriteDefaultIniFiles();
    run.place(LineFeeds, name);
    run.start();
    palverin.LoadIniFiles();
}

void parameterCheck(Run& run) {
    const QString path = run.place(LineFeeds, QStringLiteral("Tool.prm"));
    run.start();
    QFile stored(path);
    if (!stored.open(QIODevice::ReadOnly))
        return;
    const app::ParameterFileCheck check = app::checkParameterFile(stored, app::ParameterFileKind::Tool);
    if (check.result == app::ParameterFileCheck::Result::WrongType)
        run.dialogs.message(QStringLiteral("not a tool parameter file"), {}, base::MessageIcon::None);
}

void parameterEncrypt(Run& run) {
    const QString path = run.place(LineFeeds, QStringLiteral("Tool.TXT"));
    const app::LineScrambler scrambler;
    int maximum = 0;
    int value = 0;
    run.start();
    const app::EncryptResult result = app::encryptParameterSource(
        path, scrambler, [&](int lines) { maximum = lines + 1; }, [&](int written) { value = written; });
    run.dialogs.message(result.ok ? QStringLiteral("encrypted %1 of %2 lines").arg(value).arg(maximum - 1)
                                  : result.errorText,
                        {}, base::MessageIcon::None);
}

void plcOpen(Run& run, const QString& source) {
    const QString path = run.place(source, QStringLiteral("Old.Plc"));
    ladder::LadderEditor editor(run.dialogs);
    run.start();
    const std::optional<ladder::LadderProgram> program = editor.readProject(path);
    run.stop();
}

void parameterEncryptOf(Run& run, const QString& source) {
    const QString path = run.place(source, QStringLiteral("Tool.TXT"));
    const app::LineScrambler scrambler;
    run.start();
    const app::EncryptResult result = app::encryptParameterSource(path, scrambler, {}, {});
    run.dialogs.messages +=
        result.ok ? QStringLiteral("encrypted, %1 MB written").arg(QFile(result.output).size() / BytesPerMib)
                  : result.errorText;
}

void printLog(Run& run, const QString& source, int from, int pages) {
    const QString path = run.place(source, QStringLiteral("FinalData.txt"));
    run.dialogs.pdf = run.file(QStringLiteral("printed.pdf"));
    run.dialogs.pages.fromPage = from;
    run.dialogs.pages.toPage = from + pages - 1;
    base::TextLines lines;
    run.start();
    base::readTextLines(path, lines);
    app::TextViewerDialog viewer(run.dialogs, QStringLiteral("FinalData.txt"), lines);
    PaintedTextViewer::paint(viewer);
    viewer.cmdPrint_Click();
}

// The program's seams on a real pump and clock, answering the file dialogs with fileNames in turn.
app::AppSeams benchSeams(Run& run, const QStringList& fileNames, BenchDialogs*& asked) {
    app::AppSeams seams;
    auto dialogs = std::make_unique<BenchDialogs>();
    asked = dialogs.get();
    asked->fileNames << fileNames;
    seams.dialogs = std::move(dialogs);
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::SteadyLinkClock>();
    seams.valuePrompt = std::make_unique<NoValueEntry>();
    seams.textViewer = std::make_unique<PaintedTextViewer>(run.dialogs);
    return seams;
}

// The ladder window's whole File > Open: the read, the tree and its first display.
void ladderWindowOpen(Run& run, const QString& source) {
    const QString path = run.place(source, QStringLiteral("Old.Plc"));
    BenchDialogs* asked = nullptr;
    app::AppServices services(benchSeams(run, {path}, asked));
    app::AppContext context(services);
    ladder::LadderModule module(
        services, std::make_unique<QSettings>(run.file(QStringLiteral("user.ini")), QSettings::IniFormat));
    ladder::frmPLCIO window(context, module);
    PaintedTextViewer::paint(window);
    run.start();
    window.mnuOpen_Click();
    PaintedTextViewer::paint(window);
    run.stop();
    run.dialogs.messages += asked->messages;
}

void ladderConvert(Run& run, const QString& source) {
    const QString path = run.place(source, QStringLiteral("Old.Plc"));
    BenchDialogs* asked = nullptr;
    app::AppServices services(benchSeams(run, {path, run.file(QStringLiteral("New.Lio"))}, asked));
    logicio::LadderConverter converter(services);
    run.start();
    converter.convertFile();
    run.dialogs.messages += asked->messages;
    if (QFile::exists(run.file(QStringLiteral("New.Lio"))))
        run.dialogs.messages += QStringLiteral("New.Lio written");
}

void viewRundowns(Run& run, const QString& source) {
    run.place(source, QStringLiteral("Pset_RundownData.txt"));
    run.start();
    std::optional<monitor::RundownLogRows> rows = monitor::RundownLogFile::read();
    if (!rows)
        return;
    monitor::frmResults window;
    window.showRows(std::move(*rows));
    PaintedTextViewer::paint(window);
}

const std::vector<Reader>& readers() {
    static const std::vector<Reader> all = {
        {"statistics Load", false, [](Run& r) { statisticsLoad(r, LineFeeds); }},
        {"statistics Data File view", true, statisticsView},
        {"serial logger View Log File", true, [](Run& r) { viewLogFile(r, LineFeeds); }},
        {"Brenstal.ini load", false, [](Run& r) { settingsLoad(r, app::SettingsFileName); }},
        {"delays.ini load", false, [](Run& r) { settingsLoad(r, app::DelaysFileName); }},
        {"parameter-file write check", false, parameterCheck},
        {"parameter encrypt", false, parameterEncrypt},
        {".Plc open", false, [](Run& r) { plcOpen(r, LineFeeds); }},
        {"ladder converter", true, [](Run& r) { ladderConvert(r, LineFeeds); }},
        {"View Rundowns, one 50 MB line", true, [](Run& r) { viewRundowns(r, OneLine); }},
        {"View Rundowns, line feeds", true, [](Run& r) { viewRundowns(r, LineFeeds); }},
        {"statistics Load and Data File view, 50 MB report", true,
         [](Run& r) { statisticsLoad(r, RealReport); }},
        {"serial logger View Log File, 50 MB of reports", true, [](Run& r) { viewLogFile(r, RealLog); }},
        {".Plc open, 50 MB ladder", false, [](Run& r) { plcOpen(r, LargeLadder); }},
        {".Plc open, 50 MB ladder of one repeated key", false, [](Run& r) { plcOpen(r, RepeatedKeyLadder); }},
        {"ladder converter, 50 MB ladder", true, [](Run& r) { ladderConvert(r, LargeLadder); }},
        {"parameter encrypt, 50 MB real source", false,
         [](Run& r) { parameterEncryptOf(r, ParameterSource); }},
        {"parameter encrypt, random bytes", false, [](Run& r) { parameterEncryptOf(r, RandomBytes); }},
        {"parameter encrypt, one 50 MB line", false, [](Run& r) { parameterEncryptOf(r, OneLine); }},
        {"parameter encrypt, real source with a 50 MB title line", false,
         [](Run& r) { parameterEncryptOf(r, LongTitleSource); }},
        {"parameter encrypt, NUL bytes", false, [](Run& r) { parameterEncryptOf(r, NulBytes); }},
        {"ladder window Open, 50 MB ladder", true, [](Run& r) { ladderWindowOpen(r, LargeLadder); }},
        {"ladder window Open, 30,000 deep", true, [](Run& r) { ladderWindowOpen(r, DeepLadder); }},
        {".Plc open, 30,000 deep", false, [](Run& r) { plcOpen(r, DeepLadder); }},
        {"text viewer Print to PDF, line feeds, pages 1 to 500", true,
         [](Run& r) { printLog(r, LineFeeds, 1, PrintedPages); }},
        {"text viewer Print to PDF, 50 MB of reports, pages 1 to 500", true,
         [](Run& r) { printLog(r, RealLog, 1, PrintedPages); }},
        {"text viewer Print to PDF, line feeds, pages 10,000 to 10,002", true,
         [](Run& r) { printLog(r, LineFeeds, FarPage, FarPages); }},
    };
    return all;
}

// --- the child: one reader ---

int runChild(int index, const QString& sources, const QString& work, int argc, char** argv) {
    const Reader& reader = readers()[std::size_t(index)];
    qputenv("PALVERIN_HOME", work.toUtf8());
    std::unique_ptr<QCoreApplication> app;
    if (reader.windows)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    Run run;
    run.work = work;
    run.sources = sources;
    reader.run(run);
    const double seconds =
        run.seconds >= 0 ? run.seconds : double(run.clock.nsecsElapsed()) / NanosecondsPerSecond;
    std::printf("%.3f\n", seconds);
    for (const QString& message : run.dialogs.messages)
        std::fprintf(stderr, "  %s: %s\n", reader.name, qPrintable(message.left(200).simplified()));
    return 0;
}

// --- the parent: the files, then one child per reader ---

bool writeRepeated(const QString& path, const QByteArray& unit, const QByteArray& head = {},
                   const QByteArray& tail = {}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (chunk.size() + unit.size() <= ChunkBytes)
        chunk += unit;
    file.write(head);
    while (file.size() + chunk.size() + tail.size() <= fileBytes)
        file.write(chunk);
    while (file.size() + unit.size() + tail.size() <= fileBytes)
        file.write(unit);
    file.write(tail);
    return file.flush();
}

// A whole ladder file of 50 MB: 31 rungs with their inputs and outputs, then elements of distinct names
// (or all of one key) under the inputs of rung 31, which the converter passes over.
bool makeLadder(const QString& path, bool oneKey = false) {
    constexpr int Rungs = 31;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto node = [&file](const QString& parent, const QString& key) {
        file.write(
            ladder::PlcNodeRecord{parent, key, key, QStringLiteral("1"), QStringLiteral("0")}.encode());
    };
    for (int r = 1; r <= Rungs; ++r) {
        const QString rung = QStringLiteral("Rung %1").arg(r);
        node(QStringLiteral("Start"), rung);
        node(rung, QStringLiteral("Inputs %1").arg(r));
        node(rung, QStringLiteral("Outputs %1").arg(r));
    }
    for (int i = 0; file.size() + ladder::PlcNodeRecord::Size <= fileBytes; ++i)
        node(QStringLiteral("Inputs %1").arg(Rungs),
             oneKey ? QStringLiteral("Element") : QStringLiteral("Element %1").arg(i));
    return file.flush();
}

// Each node the child of the one before, DeepLevels of them.
bool makeDeepLadder(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString parent = QStringLiteral("Start");
    for (int n = 0; n < DeepLevels; ++n) {
        const QString key = QStringLiteral("Node %1").arg(n);
        file.write(
            ladder::PlcNodeRecord{parent, key, key, QStringLiteral("1"), QStringLiteral("0")}.encode());
        parent = key;
    }
    return file.flush();
}

bool writeRandom(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(ChunkBytes, Qt::Uninitialized);
    for (qint64 left = fileBytes; left > 0; left -= chunk.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()),
                                              chunk.size() / qsizetype(sizeof(quint32)));
        file.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    }
    return file.flush();
}

bool makeSources(const QString& folder) {
    const QDir dir(folder);
    // A real rundown report: its heading, then rundown lines of five 12-character cells, then dashes.
    const QByteArray rule = QByteArray(76, '-') + "\r\n";
    const QByteArray head = "Company   : Brenstal\r\nFile Type : Controller Rundown Data\r\n" +
                            base::fixed40(QStringLiteral("Torque Target: 12")).toLatin1() + "\r\n" +
                            base::fixed40(QStringLiteral("Torque Hi Limit: 16")).toLatin1() + "\r\n" +
                            base::fixed40(QStringLiteral("Torque Lo Limit: 8")).toLatin1() + "\r\n" +
                            "#           RESULT      TORQUE      ANGLE       TORQUE X    \r\n" + rule;
    const QByteArray rundown = "1           ACCEPT      12.34       45          0           \r\n";
    // The serial logger's log: reports of a rundown number and three spindles, each followed by a blank line.
    const QByteArray report = "Rundown Number :12\r\n" + QByteArray("SPINDLE 01:") + QByteArray(63, 'a') +
                              "\r\nSPINDLE 02:" + QByteArray(63, 'b') +
                              "\r\nSPINDLE 03:" + QByteArray(63, 'c') + "\r\n\r\n";
    return writeRepeated(dir.filePath(LineFeeds), "\n") && writeRepeated(dir.filePath(OneLine), "x") &&
           writeRepeated(dir.filePath(RealReport), rundown, head, rule) &&
           writeRepeated(dir.filePath(RealLog), report) && makeLadder(dir.filePath(LargeLadder)) &&
           makeLadder(dir.filePath(RepeatedKeyLadder), true) && makeDeepLadder(dir.filePath(DeepLadder)) &&
           writeRandom(dir.filePath(RandomBytes)) &&
           writeRepeated(dir.filePath(NulBytes), QByteArray(1, '\0')) &&
           writeRepeated(dir.filePath(ParameterSource), "45,220\r\n",
                         "FILE TYPE: TOOL PARAMETERS\r\nTool 4711\r\n") &&
           writeRepeated(dir.filePath(LongTitleSource), "x", "FILE TYPE: TOOL PARAMETERS\r\n",
                         "\r\n45,220\r\n");
}

struct ChildResult {
    double seconds = -1;
    double peakMb = 0;
    bool stopped = false;
    int status = 0;  // how the child ended (wait status)
    double wall = 0; // the child's whole run, start-up included
};

ChildResult runReader(const char* self, int index, const QString& sources, const QString& work) {
    int out[2];
    if (::pipe(out) != 0)
        return {};
    const QByteArray indexText = QByteArray::number(index);
    const QByteArray sourcesPath = QFile::encodeName(sources);
    const QByteArray workPath = QFile::encodeName(work);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
#if !defined(__SANITIZE_ADDRESS__)
        // The address sanitizer reserves its shadow memory up front, far beyond any such limit.
        const rlimit limit{ChildAddressSpace, ChildAddressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
#endif
        const char* args[] = {
            self, "--child", indexText.constData(), sourcesPath.constData(), workPath.constData(), nullptr};
        ::execv("/proc/self/exe", const_cast<char* const*>(args));
        ::_exit(127);
    }
    ::close(out[1]);
    ChildResult result;
    if (pid < 0) {
        ::close(out[0]);
        return result;
    }
    int& status = result.status;
    rusage usage{};
    const auto begun = std::chrono::steady_clock::now();
    const auto deadline = begun + ChildTimeLimit;
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            result.stopped = true;
            break;
        }
        std::this_thread::sleep_for(ChildPoll);
    }
    char text[64] = {};
    const ssize_t got = ::read(out[0], text, sizeof text - 1);
    ::close(out[0]);
    if (!result.stopped && got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        result.seconds = QByteArray(text, got).trimmed().toDouble();
    result.peakMb = double(usage.ru_maxrss) / KibPerMib;
    result.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && QByteArray(argv[1]) == "--child")
        return runChild(QByteArray(argv[2]).toInt(), QFile::decodeName(argv[3]), QFile::decodeName(argv[4]),
                        argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--megabytes") {
        bool ok = false;
        const qint64 mib = QByteArray(argv[2]).toLongLong(&ok);
        if (!ok || mib < 1 || mib > DefaultFileMib) {
            std::fprintf(stderr, "--megabytes takes a size from 1 to %lld\n",
                         static_cast<long long>(DefaultFileMib));
            return 2;
        }
        fileBytes = mib * BytesPerMib;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    if (!folder.isValid() || !makeSources(folder.path())) {
        std::fprintf(stderr, "cannot make the files to read\n");
        return 1;
    }
    int failed = 0;
    for (std::size_t i = 0; i < readers().size(); ++i) {
        const QString work = QDir(folder.path()).filePath(QStringLiteral("reader%1").arg(i));
        QDir().mkpath(work);
        const ChildResult result = runReader(argv[0], int(i), folder.path(), work);
        QDir(work).removeRecursively();
        const char* name = readers()[i].name;
        if (result.stopped)
            std::printf("reader %s: stopped after %lld s, %.0f MB\n", name,
                        static_cast<long long>(ChildTimeLimit.count()), result.peakMb);
        else if (result.seconds < 0)
            std::printf("reader %s: failed (%s %d) after %.1f s, %.0f MB\n", name,
                        WIFSIGNALED(result.status) ? "signal" : "exit code",
                        WIFSIGNALED(result.status) ? WTERMSIG(result.status) : WEXITSTATUS(result.status),
                        result.wall, result.peakMb);
        else
            std::printf("reader %s: %.3f s, %.0f MB\n", name, result.seconds, result.peakMb);
        std::fflush(stdout);
        failed += result.seconds < 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
