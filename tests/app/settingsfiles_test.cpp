// "Brenstal.ini" and "delays.ini": creation, loading, saving byte for byte, and damaged files.
#include "app/settingsfiles.h"
#include "link/linkstate.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace app;

namespace {

// A save of: Password "Secret7", the default Pset values, link 2, 127.0.0.1, port 1100, with the
// factors 10, 11, ..., 28, 10, ... drawn character after character.
const QByteArray GoldenSettingsFile =
    "3AO%3D{23G<l3Kw_3U3!3OHu3Qfx3VE?3\\1f3a{F3k6r3fZx3f[@3lHm3mX*3ouc3r7@3{OK3{P@3ClR3D{23G<T3Ji^\r\n"
    "3M*03M+93OJ>3OKF3U7o3U8W3fY,\r\n"
    "3hx*3ndS3vn$3z=x3}jo4\"$:f4\"(u*4\",E!3F+x3IXo\r\n"
    "3Jh]3N7l3U3!3X_u3\\/l3_\\c3d:'3gf{3k6r3nci\r\n"
    "3mUu3r4:3z=x3}jo4\"$:f4\"(u*4\",E!3F+x3IXo3M(f\r\n"
    "3N7l3U3!3X_u3\\/l3_\\c3d:'3gf{3k6r3nci3sA-\r\n"
    "3r4:3z=x3}jo4\"$:f4\"(u*4\",E!3F+x3IXo3M(f3PU]\r\n"
    "3Qe)3VBH3\\/l3_\\c3d:'3gf{3k6r3nci3sA-3vn$\r\n"
    "3tR!3x!x4\"$:f4\"(u*4\",E!3F+x3IXo3M(f3PU]3U3!\r\n"
    "3T&63X`o3_\\c3d:'3gf{3k6r3nci3sA-3vn$3z=x\r\n"
    "3y0e4\"$:f4\"(u*4\",E!3F+x3IXo3M(f3PU]3U3!3X_u\r\n"
    "3X`o3_\\c3d:'3gf{3k6r3nci3sA-3vn$3z=x3}jo\r\n"
    "\r\n"
    "3|\\u\r\n"
    "4\"#,u4\"&Y?3CkU3G<;3Jhi3OF73Qe73VBf3XaR\r\n"
    "3]>b3`kH3d;A3gh(\r\n";

class SettingsFilesTest : public ::testing::Test {
protected:
    // The settings file's lines as plain text.
    QStringList plainLines() const {
        QStringList plain;
        for (const QString& line :
             QString::fromLatin1(home.read(SettingsFileName)).split(QStringLiteral("\r\n")))
            plain.append(LineScrambler::DecodeLine(line));
        return plain;
    }
    // Writes a settings file of the given plain lines, scrambled, with the given line end.
    void writeSettings(const QStringList& plain, const QByteArray& lineEnd = "\r\n") {
        QByteArray bytes;
        for (const QString& line : plain)
            bytes += scrambler.EncodeLine(line).toLatin1() + lineEnd;
        ASSERT_TRUE(home.write(SettingsFileName, bytes));
    }
    static QStringList defaultLines(const QString& connection = QStringLiteral("1")) {
        return {SettingsFileHeader, "7395", "80",  "15", "50", "5", "0", "10", "65", "85", "0", "5", "2",
                connection,         "None", "1100"};
    }

    testsupport::TempProgramFolder home;
    testsupport::ScriptedDialogs dialogs;
    clink::LinkState link;
    AppSettings settings;
    LineScrambler scrambler;
    SettingsFiles files{link, settings, dialogs, scrambler};
};

} // namespace

TEST_F(SettingsFilesTest, AnEmptyFolderGetsTheDefaultFiles) {
    files.LoadIniFiles();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(home.read(DelaysFileName), QByteArray("8\r\n"));
    EXPECT_EQ(link.TransferDelay, 8);
    EXPECT_EQ(link.ConnectionType, clink::ParallelPort);
    EXPECT_EQ(link.ControllerIpAddress, QStringLiteral("None"));
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("1100"));
    EXPECT_EQ(settings.Password, QStringLiteral("7395"));
    EXPECT_EQ(settings.PsetDefaults.DefaultTargetPercent, QStringLiteral("80        "));
    EXPECT_EQ(settings.PsetDefaults.DefaultUnits, QStringLiteral("5         "));
    EXPECT_EQ(settings.PsetDefaults.DefaultTorquePercent, QStringLiteral("10        "));

    // 16 scrambled CR LF lines; the Pset values are stored in their 10-character form.
    QStringList expected = defaultLines();
    for (int i = 2; i < 12; ++i)
        expected[i] = expected[i].leftJustified(PsetDefaultWidth);
    EXPECT_EQ(plainLines(), expected + QStringList{QString()});
    EXPECT_TRUE(home.read(SettingsFileName).endsWith("\r\n"));
}

TEST_F(SettingsFilesTest, ASaveIsByteExactAndLoadsBack) {
    int next = 0;
    const LineScrambler counting([&next] { return LineScrambler::LowestFactor + next++ % 19; });
    SettingsFiles saver(link, settings, dialogs, counting);
    ASSERT_TRUE(saver.WriteDefaultIniFiles());
    settings.Password = QStringLiteral("Secret7");
    link.ConnectionType = clink::TcpIp;
    link.ControllerIpAddress = QStringLiteral("127.0.0.1");
    link.TransferDelay = 4;
    next = 0;
    ASSERT_TRUE(saver.SaveIniFile());
    EXPECT_EQ(home.read(SettingsFileName), GoldenSettingsFile);
    // The current poll multiplier is kept, not a fixed value.
    EXPECT_EQ(home.read(DelaysFileName), QByteArray("4\r\n"));

    clink::LinkState loadedLink;
    AppSettings loaded;
    SettingsFiles loader(loadedLink, loaded, dialogs, scrambler);
    loader.LoadIniFiles();
    EXPECT_EQ(loaded.Password, QStringLiteral("Secret7"));
    EXPECT_EQ(loaded.PsetDefaults.DefaultFreeSpeed, QStringLiteral("85        "));
    EXPECT_EQ(loadedLink.ConnectionType, clink::TcpIp);
    EXPECT_EQ(loadedLink.ControllerIpAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(loadedLink.TransferDelay, 4);
    EXPECT_TRUE(dialogs.messages.empty());

    // Random factors: two saves of the same settings differ byte for byte and load the same.
    ASSERT_TRUE(loader.SaveIniFile());
    const QByteArray first = home.read(SettingsFileName);
    ASSERT_TRUE(loader.SaveIniFile());
    EXPECT_NE(home.read(SettingsFileName), first);
    loader.LoadIniFiles();
    EXPECT_EQ(loaded.Password, QStringLiteral("Secret7"));
    EXPECT_EQ(loadedLink.ControllerIpAddress, QStringLiteral("127.0.0.1"));
}

TEST_F(SettingsFilesTest, AShortFileLoadsWhatItHas) {
    writeSettings(defaultLines(QStringLiteral("2")).mid(0, 14));
    ASSERT_TRUE(home.write(DelaysFileName, "8\r\n"));
    files.LoadIniFiles();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(link.ConnectionType, clink::TcpIp);
    EXPECT_EQ(link.ControllerIpAddress, QStringLiteral("None"));
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("1100"));

    // What the file lacks keeps the value held before.
    link.ControllerIpAddress = QStringLiteral("10.0.0.7");
    link.ControllerIpPort = QStringLiteral("2000");
    files.LoadIniFiles();
    EXPECT_EQ(link.ControllerIpAddress, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("2000"));
}

TEST_F(SettingsFilesTest, FieldsAreReadByTheirRules) {
    QStringList lines = defaultLines();
    lines[2] = QStringLiteral("123456789012"); // cut to 10
    lines[13] = QStringLiteral("2.5");         // half to even
    lines[14] = QStringLiteral("192.168.0.9");
    lines[15] = QStringLiteral("1200");
    writeSettings(lines, "\n"); // a file made on Linux
    ASSERT_TRUE(home.write(DelaysFileName, "8\r\n"));
    files.LoadIniFiles();
    EXPECT_EQ(settings.PsetDefaults.DefaultTargetPercent, QStringLiteral("1234567890"));
    EXPECT_EQ(link.ConnectionType, clink::TcpIp);
    EXPECT_EQ(link.ControllerIpAddress, QStringLiteral("192.168.0.9"));
    EXPECT_EQ(link.ControllerIpPort, QStringLiteral("1200"));

    // A link code outside 0..3, or beyond 16 bits, is no link.
    const std::vector<std::pair<QString, int16_t>> codes = {{"3", 3}, {"4", 0},   {"-1", 0}, {"99999", 0},
                                                            {"x", 0}, {"3.5", 0}, {"1.5", 2}};
    for (const auto& [text, expected] : codes) {
        lines[13] = text;
        writeSettings(lines, "\r");
        files.LoadIniFiles();
        EXPECT_EQ(link.ConnectionType, expected) << text.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFilesTest, TheDelayIsTheIntegerPartOfANumber) {
    files.LoadIniFiles();
    const QByteArray settingsFile = home.read(SettingsFileName);
    const std::vector<std::tuple<QByteArray, long, QByteArray>> cases = {
        {"2.9\r\n", 2, "2.9\r\n"},
        {"5\n", 5, "5\n"},
        {" 12 \r\n", 12, " 12 \r\n"},
        {"0\r\n", 1, "0\r\n"},
        {"-3\r\n", 1, "-3\r\n"},
        {"", 8, "8\r\n"},
        {"abc\r\n", 8, "8\r\n"},
        {"8 ms\r\n", 8, "8\r\n"},
        {"\r\n7\r\n", 8, "8\r\n"},
        // A number too large to read, a line too long to be a number: no number.
        {QByteArray(64 * 1024, '9') + "\r\n", 8, "8\r\n"},
        {"1" + QByteArray(1 << 20, ' ') + "\r\n", 8, "8\r\n"},
    };
    for (const auto& [content, expected, after] : cases) {
        ASSERT_TRUE(home.write(DelaysFileName, content));
        link.TransferDelay = 2;
        files.LoadIniFiles();
        EXPECT_EQ(link.TransferDelay, expected) << content.toStdString();
        EXPECT_EQ(home.read(DelaysFileName), after) << content.toStdString();
        // Loading goes on to the settings file.
        EXPECT_EQ(settings.Password, QStringLiteral("7395"));
    }
    EXPECT_EQ(home.read(SettingsFileName), settingsFile);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFilesTest, AMissingFileIsCreatedAlone) {
    files.LoadIniFiles();
    settings.Password = QStringLiteral("mine");
    link.ConnectionType = clink::Usb;
    link.TransferDelay = 5;
    ASSERT_TRUE(files.SaveIniFile());
    const QByteArray settingsFile = home.read(SettingsFileName);

    ASSERT_TRUE(QFile::remove(home.file(DelaysFileName)));
    files.LoadIniFiles();
    EXPECT_EQ(home.read(SettingsFileName), settingsFile);
    EXPECT_EQ(home.read(DelaysFileName), QByteArray("8\r\n"));
    EXPECT_EQ(link.TransferDelay, 8);
    EXPECT_EQ(settings.Password, QStringLiteral("mine"));
    EXPECT_EQ(link.ConnectionType, clink::Usb);

    ASSERT_TRUE(home.write(DelaysFileName, "3\r\n"));
    ASSERT_TRUE(QFile::remove(home.file(SettingsFileName)));
    files.LoadIniFiles();
    EXPECT_EQ(home.read(DelaysFileName), QByteArray("3\r\n"));
    EXPECT_EQ(link.TransferDelay, 3);
    EXPECT_EQ(settings.Password, QStringLiteral("7395"));
    EXPECT_EQ(link.ConnectionType, clink::ParallelPort);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFilesTest, AWrongHeaderResetsBothFilesOnce) {
    QStringList lines = defaultLines(QStringLiteral("2"));
    lines[0] = QStringLiteral("FILE TYPE: brenstal.ini");
    lines[1] = QStringLiteral("mine");
    writeSettings(lines);
    ASSERT_TRUE(home.write(DelaysFileName, "5\r\n"));
    files.LoadIniFiles();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Invalid OR Corrupt File"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Palverin2006"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(home.read(DelaysFileName), QByteArray("8\r\n"));
    EXPECT_EQ(link.TransferDelay, 8);
    EXPECT_EQ(settings.Password, QStringLiteral("7395"));
    EXPECT_EQ(link.ConnectionType, clink::ParallelPort);
    EXPECT_EQ(plainLines().first(), SettingsFileHeader);

    // A file without a header line at all is no settings file either.
    dialogs.messages.clear();
    ASSERT_TRUE(home.write(SettingsFileName, ""));
    files.LoadIniFiles();
    ASSERT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Invalid OR Corrupt File")});
    EXPECT_EQ(plainLines().size(), 17);
}

TEST_F(SettingsFilesTest, FilesThatCannotBeUsedAreReportedAndChangeNothing) {
    files.LoadIniFiles();
    settings.Password = QStringLiteral("mine");
    // A folder in the place of the settings file: it cannot be read.
    ASSERT_TRUE(QFile::remove(home.file(SettingsFileName)));
    ASSERT_TRUE(QDir(home.path()).mkdir(SettingsFileName));
    files.LoadIniFiles();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(SettingsFileName));
    EXPECT_EQ(dialogs.messages[0].caption, dialogs.messages[0].text);
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(settings.Password, QStringLiteral("mine"));
}

TEST_F(SettingsFilesTest, LinesAfterTheLastSettingAreNotReadAndAnEndlessLineIsDamage) {
    writeSettings(defaultLines(QStringLiteral("2")));
    const QByteArray junk(1 << 20, '\n');
    ASSERT_TRUE(home.write(SettingsFileName, home.read(SettingsFileName) + junk));
    ASSERT_TRUE(home.write(DelaysFileName, "3\r\n" + junk));
    files.LoadIniFiles();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(link.ConnectionType, clink::TcpIp);
    EXPECT_EQ(link.TransferDelay, 3);

    // A line too long to be a setting, anywhere among the sixteen, is damage: the box, and both files back
    // to their defaults.
    for (const int at : {0, 4}) {
        QByteArray bytes;
        QStringList lines = defaultLines(QStringLiteral("3"));
        lines[1] = QStringLiteral("mine");
        for (int i = 0; i < lines.size(); ++i)
            bytes +=
                (i == at ? QByteArray(65 * 1024, '!') : scrambler.EncodeLine(lines[i]).toLatin1()) + "\r\n";
        ASSERT_TRUE(home.write(SettingsFileName, bytes));
        dialogs.messages.clear();
        files.LoadIniFiles();
        EXPECT_EQ(dialogs.messageTexts(), QStringList{CorruptSettingsText}) << at;
        EXPECT_EQ(settings.Password, QStringLiteral("7395"));
        EXPECT_EQ(settings.PsetDefaults.DefaultUnits.trimmed(), QStringLiteral("5"));
        EXPECT_EQ(link.ConnectionType, clink::ParallelPort);
        EXPECT_EQ(link.TransferDelay, 8);
        EXPECT_EQ(plainLines().mid(0, 2), defaultLines().mid(0, 2));
        EXPECT_EQ(plainLines().mid(12), defaultLines().mid(12) + QStringList{QString()});
    }
}
