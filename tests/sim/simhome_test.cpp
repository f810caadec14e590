// palverin-sim --home: a program folder whose settings select the Ethernet link to the stand-in.
#include "sim/simhome.h"

#include "app/settingsfiles.h"
#include "link/linkstate.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

using namespace sim;

TEST(SimHome, SelectsTheEthernetLinkToTheStandIn) {
    testsupport::TempProgramFolder home;
    QString error;
    QStringList warnings;
    ASSERT_TRUE(prepareProgramFolder(home.path(), 1234, &error, &warnings));
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(home.read("delays.ini"), QByteArray("8\r\n"));

    testsupport::ScriptedDialogs dialogs;
    clink::LinkState link;
    app::AppSettings settings;
    const app::LineScrambler scrambler;
    app::SettingsFiles files(link, settings, dialogs, scrambler);
    files.LoadIniFiles();
    EXPECT_EQ(link.ConnectionType, clink::TcpIp);
    EXPECT_EQ(link.ControllerIpAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("1234"));
    EXPECT_EQ(settings.Password, QStringLiteral("7395"));

    // A folder already in use keeps its password and poll multiplier.
    settings.Password = QStringLiteral("mine");
    link.TransferDelay = 3;
    ASSERT_TRUE(files.SaveIniFile());
    ASSERT_TRUE(prepareProgramFolder(home.path(), 1300, &error));
    files.LoadIniFiles();
    EXPECT_EQ(settings.Password, QStringLiteral("mine"));
    EXPECT_EQ(link.TransferDelay, 3);
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("1300"));
    EXPECT_TRUE(dialogs.messages.empty());

    // A folder that cannot be made.
    ASSERT_TRUE(home.write("plain", "x"));
    EXPECT_FALSE(prepareProgramFolder(home.file("plain/sub"), 1100, &error));
    EXPECT_FALSE(error.isEmpty());
}
