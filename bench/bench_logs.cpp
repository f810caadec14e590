// The rundown log growing: one rundown row appended to a log of 1 MB, 10 MB and 100 MB, 1,000 times each.
// An append opens the log, writes its row and syncs it to the disk; its cost must not grow with the log. The
// logs are made in a temporary program folder that is removed afterwards.
#include "monitor/runscreenlog.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using monitor::RundownLogFile;

constexpr qint64 Megabyte = 1024 * 1024;
constexpr int Appends = 1000;
// Rows written at once while the log is filled up to its size.
constexpr int RowsPerChunk = 10000;

const QStringList Rundown = {"15:07:30", "14/06/2009", "80.1",   "78.9", "100", "50", "789",
                             "90.5",     "10",         "Accept", "Nm",   "",    "2"};

// A program folder for the benchmark whose log is filled to size before it is timed.
class LogFolder {
public:
    explicit LogFolder(qint64 size) : old_(qgetenv("PALVERIN_HOME")) {
        qputenv("PALVERIN_HOME", dir_.path().toUtf8());
        fill(size);
    }
    ~LogFolder() {
        if (old_.isEmpty())
            qunsetenv("PALVERIN_HOME");
        else
            qputenv("PALVERIN_HOME", old_);
    }
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

    bool ready() const { return dir_.isValid() && ready_; }
    qint64 size() const { return QFile(RundownLogFile::path()).size(); }

private:
    void fill(qint64 size) {
        QFile log(RundownLogFile::path());
        if (!log.open(QIODevice::WriteOnly))
            return;
        QByteArray chunk;
        const QByteArray row = RundownLogFile::row(Rundown).toLatin1() + "\r\n";
        for (int i = 0; i < RowsPerChunk; ++i)
            chunk += row;
        log.write(RundownLogFile::row(RundownLogFile::Header).toLatin1() + "\r\n");
        while (log.size() + chunk.size() <= size)
            log.write(chunk);
        while (log.size() + row.size() <= size)
            log.write(row);
        ready_ = log.flush();
    }

    QTemporaryDir dir_;
    QByteArray old_;
    bool ready_ = false;
};

void BM_RundownLogAppend(benchmark::State& state) {
    const LogFolder folder(state.range(0) * Megabyte);
    if (!folder.ready()) {
        state.SkipWithError("the log could not be made");
        return;
    }
    for (auto _ : state) {
        if (!RundownLogFile::append(Rundown)) {
            state.SkipWithError("the row could not be appended");
            return;
        }
    }
    state.counters["log_MB"] = double(folder.size()) / Megabyte;
}
BENCHMARK(BM_RundownLogAppend)->Arg(1)->Arg(10)->Arg(100)->Iterations(Appends)->Unit(benchmark::kMicrosecond);

} // namespace
