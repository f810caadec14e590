#pragma once
// The Pset editor's session over the program's services, headless: scripted dialogs, a temporary program
// folder, and the stand-in on each link.

#include "app/appservices.h"
#include "pset/psetmodule.h"
#include "pset/psetsession.h"
#include "sim/controllermodel.h"
#include "sim/ftdisim.h"
#include "sim/spichip.h"
#include "sim/tcpdongle.h"
#include "tests/support/linkparam.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

namespace app {
// A record in test failures: its fields as the file holds them, separated by '|'.
inline void PrintTo(const PsetRecord& r, std::ostream* os) {
    QStringList fields;
    for (int f = 0; f < PsetRecord::Fields; ++f)
        fields << r.text(PsetField(f));
    *os << fields.join(u'|').toStdString();
}
} // namespace app

namespace psettest {

using testsupport::Link;
using testsupport::linkName;

class PsetFixture : public ::testing::Test {
protected:
    PsetFixture();
    ~PsetFixture() override;
    // Opens the link to the stand-in as start-up does, and keeps it in the settings files (the session
    // reads them again).
    void connect(Link link);
    // Writes the link settings and the Pset defaults of memory into the settings files.
    void saveSettings();
    void setDefaultUnits(int units);
    // Waits in the event loop until cond holds or ms elapse.
    static bool waitFor(const std::function<bool()>& cond, int ms = 3000);

    QStringList messages() const { return dialogs->messageTexts(); }
    // Record n's field without its trailing blanks; texts typed into record n.
    QString text(int n, app::PsetField f) const { return table[n].text(f).trimmed(); }
    void setTexts(int n, std::initializer_list<std::pair<app::PsetField, const char*>> texts) {
        for (const auto& [field, value] : texts)
            table[n].setText(field, QString::fromLatin1(value));
    }
    // Requests the stand-in received on the command identifier with this code.
    int received(int code) const { return model.countReceived(clink::ids::CommandRequest, code); }
    // Receive, answered Yes to its question.
    void receive() {
        dialogs->yesNoAnswers.enqueue(true);
        session.mnuReceiveData_Click();
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<app::AppServices> ctxOwner;
    app::AppServices& ctx;
    clink::LinkState& s;
    app::PsetTable& table;
    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    sim::SpiChip chip{&model};
    sim::FtdiSim ftdi{model};
    pset::PsetModule module{ctx};
    pset::PsetEditorSession session{ctx};
};

// The same on each link.
class PsetOnEachLink : public testsupport::OnLink<PsetFixture> {};

} // namespace psettest
