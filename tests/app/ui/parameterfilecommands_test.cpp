// Tool > Encrypt File and the two Write > Parameters commands on the main window: the menus reach the
// parameter-file session (parameterfile_sessions_test) under the busy state and drive Bar1.
#include "app/commands/parameterfilecommands.h"
#include "base/textlines.h"
#include "tests/app/ui/tooldspfixture.h"

#include <QFileInfo>
#include <QProgressBar>

using namespace clink;
using apptest::Link;
using base::MessageIcon;

namespace {

class ParameterFiles : public apptest::ToolDspFixture {
protected:
    // The Transducer menu is hidden and disabled: its handler is called directly.
    void writeTransducerParameters() {
        main.group<app::ParameterFileCommands>()->mnuWriteTransducerParameters_Click();
    }
};

} // namespace

// What the file holds is the session's case; here the menu entry shows its box and drives Bar1.
TEST_F(ParameterFiles, EncryptFromTheToolMenuDrivesBar1) {
    const QString source = folder.file(QStringLiteral("Tool.TXT"));
    ASSERT_TRUE(base::writeTextLines(source, {"FILE TYPE: TOOL PARAMETERS", "Tool 4711 settings", "45,220"}));
    dialogs->fileNames.enqueue(source);
    trigger("mnuEncryptToolFile");
    EXPECT_EQ(messages(), QStringList{"Data Encryption Completed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("Tool.prm"))));
    EXPECT_EQ(main.Bar1()->maximum(), 4);
    EXPECT_EQ(main.Bar1()->value(), 0);
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(ParameterFiles, LinkChecksOfTheWriteCommands) {
    connect(Link::Usb);
    writeTransducerParameters();
    EXPECT_EQ(messages(), QStringList{"Unable To Configure CanDongle"});

    dialogs->messages.clear();
    useEthernet(refusedPort());
    trigger("mnuWriteToolParameters");
    EXPECT_EQ(messages(), QStringList{"Unable to connect using Ethernet"});
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_TRUE(dialogs->fileNames.isEmpty());
}
