#pragma once
// The settings collection headless over the program's services and the stand-in on each link (the Pset
// fixture's services), with the logic and ladder cores it drives, a page that records what one collector
// reports, and a controller seeded with known Psets, tool EEPROM, DSP block, logic program and rundown logs.

#include "ladder/laddermodule.h"
#include "logicio/logicmodule.h"
#include "service/collector.h"
#include "service/servicemodule.h"
#include "tests/pset/psetfixture.h"

#include <QSettings>
#include <QStringList>

#include <vector>

namespace collecttest {

// What one collector reported to its page.
class RecordingPage : public service::CollectorPage {
public:
    void setBar(int value) override { bars.push_back(value); }
    void clearList() override { list.clear(); }
    void addLines(const QStringList& lines) override { list += lines; }
    void showEditor(service::ProgramEditor editor) override { editors.push_back({true, editor}); }
    void closeEditor(service::ProgramEditor editor) override { editors.push_back({false, editor}); }

    int bar() const { return bars.empty() ? -1 : bars.back(); }

    struct EditorCall {
        bool shown;
        service::ProgramEditor editor;
        bool operator==(const EditorCall&) const = default;
    };
    std::vector<int> bars;
    QStringList list;
    std::vector<EditorCall> editors;
};

// The controller's tool EEPROM and rundown logs as the tests seed them.
inline int toolByte(int address) {
    return (address * 7 + 3) & 0xFF;
}

class CollectFixture : public psettest::PsetFixture {
protected:
    CollectFixture();

    // Two Psets (the first with the target 50, an angle limit of 0.5, ergo and soft start on), a tool
    // EEPROM, DSP light ring and flag words, a logic program and two rundown logs.
    void seedController();
    // The file's bytes / text lines in the program folder.
    QByteArray bytes(const QString& name) const { return folder.read(name); }
    QStringList lines(const QString& name) const;
    QString base() const { return folder.file(QStringLiteral("Cell")); }
    // The messages shown, text only.
    QStringList boxes() const { return dialogs->messageTexts(); }

    logicio::LogicModule logic{ctx};
    ladder::LadderModule ladder{ctx};
    service::ServiceModule module{
        ctx, service::ProgramCores{.logic = logic, .ladder = ladder},
        std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat)};
    RecordingPage page;
};

// The same on each link.
class CollectOnEachLink : public CollectFixture, public ::testing::WithParamInterface<testsupport::Link> {
protected:
    void SetUp() override { connect(GetParam()); }
};

// The report lines with the clock of their headers masked ("Time     : *").
QStringList maskClock(const QStringList& lines);
// Compares lines with a golden file of tests/service/golden.
void expectGoldenLines(const QStringList& actual, const QString& name);
QByteArray goldenBytes(const QString& name);

} // namespace collecttest
