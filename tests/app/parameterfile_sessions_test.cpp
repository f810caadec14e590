// The parameter-file session on each link against the stand-in: Encrypt File, and the two Write >
// Parameters commands with their checks, retries, boxes and progress.
#include "app/linescrambler.h"
#include "app/sessions/parameterfilesession.h"
#include "tests/app/commandfixture.h"
#include "tests/support/tempfolder.h"

#include <QDir>

using namespace clink;
using base::MessageIcon;
using testsupport::Link;

namespace {

const QStringList ToolLines{
    "FILE TYPE: TOOL PARAMETERS", "Tool 4711 settings", "45,220", "", "46, 19", "600,7", "12,3,4"};

class ParameterFiles : public commandtest::CommandFixture {
protected:
    // Runs the command of a Tool menu entry.
    void trigger(const char* name) {
        if (QLatin1String(name) == QLatin1String("mnuEncryptToolFile"))
            params.mnuEncryptToolFile();
        else
            params.mnuWriteToolParameters();
    }
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
    int toolWriteRequests() const { return model.countReceived(ids::ToolEepromRequest, 0x60); }
    // Tool EEPROM writes made, each a run of write requests (over Ethernet a write is sent until it is
    // confirmed twice) ended by the read-back.
    int toolWritesMade() const {
        int runs = 0;
        bool inRun = false;
        for (const CanMessage& m : model.received) {
            if (m.id != ids::ToolEepromRequest)
                continue;
            const bool write = m.data[0] == 0x60;
            runs += write && !inRun;
            inRun = write;
        }
        return runs;
    }
    void writeTransducerParameters() { params.mnuWriteTransducerParameters(); }

    app::ParameterFileSession params{ctx, progress};
};

class ParameterFilesOn : public ParameterFiles, public ::testing::WithParamInterface<Link> {
protected:
    void SetUp() override { connect(GetParam()); }
};
class ParameterFileFailuresOn : public ParameterFilesOn {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Links, ParameterFilesOn,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort),
                         testsupport::linkName);
INSTANTIATE_TEST_SUITE_P(Links, ParameterFileFailuresOn, ::testing::Values(Link::Usb, Link::ParallelPort),
                         testsupport::linkName);

TEST_F(ParameterFiles, EncryptWritesTheScrambledLinesBesideTheSource) {
    dialogs->fileNames.enqueue(source(QStringLiteral("Tool.TXT"), ToolLines.mid(0, 5)));
    trigger("mnuEncryptToolFile");
    EXPECT_EQ(messages(), QStringList{"Data Encryption Completed"});
    EXPECT_EQ(lastIcon(), MessageIcon::Information);
    const QStringList stored = testsupport::fileLines(folder.file(QStringLiteral("Tool.prm")));
    ASSERT_EQ(stored.size(), 5);
    EXPECT_NE(stored[0], ToolLines[0]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(app::LineScrambler::DecodeLine(stored[i]), ToolLines[i]);
    EXPECT_EQ(progress.maximum, 6);
    EXPECT_EQ(progress.value, 0);
}

TEST_F(ParameterFiles, EncryptRefusesWhatItCannotUse) {
    dialogs->fileNames << QString() << folder.file(QStringLiteral("none.txt"))
                       << source(QStringLiteral("Tool.text"), ToolLines);
    trigger("mnuEncryptToolFile");
    trigger("mnuEncryptToolFile");
    trigger("mnuEncryptToolFile");
    EXPECT_EQ(messages(), (QStringList{"File Not Found", "File Type Not .txt"}));
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);

    // The parameter file's name is taken by a folder: the failure is shown, nothing is lost.
    dialogs->messages.clear();
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Tool.prm")));
    dialogs->fileNames.enqueue(source(QStringLiteral("Tool.txt"), ToolLines));
    trigger("mnuEncryptToolFile");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(QStringLiteral("Unable To Write File ")));
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
}

TEST_P(ParameterFilesOn, AnEncryptedFileEndsUpInTheToolEeprom) {
    const QString prm = encrypted(ToolLines);
    dialogs->fileNames.enqueue(prm);
    trigger("mnuWriteToolParameters");
    EXPECT_EQ(messages(), QStringList{"Data In File Transfered Successfully"});
    EXPECT_EQ(lastIcon(), MessageIcon::Exclamation);
    EXPECT_EQ(model.toolEeprom[45], 220);
    EXPECT_EQ(model.toolEeprom[46], 19);
    EXPECT_EQ(model.toolEeprom[600], 7);
    EXPECT_EQ(model.toolEeprom[12], 4);
    EXPECT_EQ(progress.maximum, 4 + 2);
    EXPECT_EQ(progress.value, 0);
}

TEST_P(ParameterFilesOn, OneAddressBeyond1023AnywhereSendsNothing) {
    QStringList lines = ToolLines;
    lines << "1024,1"
          << "5,5";
    dialogs->fileNames.enqueue(encrypted(lines));
    trigger("mnuWriteToolParameters");
    ASSERT_EQ(messages(), QStringList{"InValid Address Value - Address > 1023"});
    EXPECT_EQ(dialogs->messages.back().caption, QStringLiteral("File Data Error"));
    EXPECT_EQ(toolWriteRequests(), 0);
}

TEST_P(ParameterFilesOn, AByteThatDoesNotStickIsWrittenSixTimes) {
    model.writeNotApplied = true;
    model.toolEeprom[45] = 1;
    dialogs->fileNames.enqueue(encrypted(ToolLines));
    trigger("mnuWriteToolParameters");
    EXPECT_EQ(messages(), QStringList{"Error Writting Data To Eeprom"});
    EXPECT_EQ(lastIcon(), MessageIcon::Critical);
    EXPECT_EQ(toolWritesMade(), app::ParameterWriteTries);
    if (GetParam() != Link::Ethernet) {
        EXPECT_EQ(toolWriteRequests(), app::ParameterWriteTries);
    }
    EXPECT_EQ(model.toolEeprom[45], 1);
    EXPECT_EQ(progress.value, 0);
}

TEST_P(ParameterFileFailuresOn, ASilentLocationStopsTheTransfer) {
    model.silentAddresses = {46};
    dialogs->fileNames.enqueue(encrypted(ToolLines));
    trigger("mnuWriteToolParameters");
    EXPECT_EQ(messages(), QStringList{"Writing Tool Data Failed"});
    EXPECT_EQ(model.toolEeprom[45], 220); // the lines before it are written and verified
    EXPECT_NE(model.toolEeprom[600], 7);
}

TEST_F(ParameterFiles, TheTypeLineIsComparedInCapitalsOnly) {
    connect(Link::Usb);
    QStringList lower = ToolLines;
    lower[0] = QStringLiteral("file type: tool parameters");
    dialogs->fileNames.enqueue(encrypted(lower));
    trigger("mnuWriteToolParameters");
    EXPECT_EQ(messages(), QStringList{"Data In File Transfered Successfully"});

    dialogs->messages.clear();
    QStringList trailing = ToolLines;
    trailing[0] += u' ';
    dialogs->fileNames.enqueue(encrypted(trailing));
    trigger("mnuWriteToolParameters");
    ASSERT_EQ(messages(), QStringList{"File Selected Not A Tool Parameter File"});
    EXPECT_EQ(dialogs->messages.back().caption, QStringLiteral("File Type Error"));
}

TEST_F(ParameterFiles, TransducerFilesGoToTheTransducer) {
    connect(Link::Ethernet);
    QStringList lines = ToolLines;
    lines[0] = QStringLiteral("FILE TYPE: EXTERNAL TRANSDUCER PARAMETERS");
    dialogs->fileNames.enqueue(encrypted(lines));
    writeTransducerParameters();
    EXPECT_EQ(messages(), QStringList{"Data In File Transfered Successfully"});
    EXPECT_EQ(model.transducerEeprom[45], 220);
    EXPECT_EQ(model.transducerEeprom[600], 7);

    // A tool file is not a transducer file.
    dialogs->messages.clear();
    dialogs->fileNames.enqueue(encrypted(ToolLines));
    writeTransducerParameters();
    ASSERT_EQ(messages(), QStringList{"File Selected Not A External Transducer Parameter File"});
    EXPECT_EQ(dialogs->messages.back().caption, base::ProgramTitle);
}
