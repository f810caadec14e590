// Tool > Encrypt File and the two Write > Parameters commands on the main window: the menus reach the
// parameter-file session (parameterfile_sessions_test) under the busy state and drive Bar1.
#include "app/commands/parameterfilecommands.h"
#include "app/linescrambler.h"
#include "base/textlines.h"
#include "tests/app/ui/tooldspfixture.h"

#include <QDir>
#include <QProgressBar>

using namespace clink;
using apptest::Link;
using base::MessageIcon;

namespace {

const QStringList ToolLines{
    "FILE TYPE: TOOL PARAMETERS", "Tool 4711 settings", "45,220", "", "46, 19", "600,7", "12,3,4"};

class ParameterFiles : public apptest::ToolDspFixture {
protected:
    // A plain source in the program folder.
    QString source(const QString& name, const QStringList& lines) {
        const QString path = folder.file(name);
        EXPECT_TRUE(base::writeTextLines(path, lines));
        return path;
    }
    // A parameter file written through Encrypt File.
    QString encrypted(const QStringList& lines) {
        dialogs->fileNames.enqueue(source(QStringLiteral("Tool.txt"), lines));
        trigger("mnuEncryptToolFile");
        EXPECT_EQ(messages().value(0), QStringLiteral("Data Encryption Completed"));
        dialogs->messages.clear();
        return folder.file(QStringLiteral("Tool.prm"));
    }
    // The Transducer menu is hidden and disabled: its handler is called directly.
    void writeTransducerParameters() {
        main.group<app::ParameterFileCommands>()->mnuWriteTransducerParameters_Click();
    }
};

} // namespace

TEST_F(ParameterFiles, EncryptWritesTheScrambledLinesBesideTheSource) {
    dialogs->fileNames.enqueue(source(QStringLiteral("Tool.TXT"), ToolLines.mid(0, 5)));
    trigger("mnuEncryptToolFile");
    EXPECT_EQ(messages(), QStringList{"Data Encryption Completed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    QStringList stored;
    ASSERT_TRUE(base::readTextLines(folder.file(QStringLiteral("Tool.prm")), stored));
    ASSERT_EQ(stored.size(), 5);
    EXPECT_NE(stored[0], ToolLines[0]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(app::LineScrambler::DecodeLine(stored[i]), ToolLines[i]);
    EXPECT_EQ(main.Bar1()->maximum(), 6);
    EXPECT_EQ(main.Bar1()->value(), 0);
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
