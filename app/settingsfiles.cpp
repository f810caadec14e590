#include "app/settingsfiles.h"

#include "base/dialogs.h"
#include "base/linereader.h"
#include "base/numbertext.h"
#include "base/programfolder.h"
#include "base/textlines.h"
#include "link/linkstate.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace app {

namespace {

const QString DefaultPassword = QStringLiteral("7395");
// Defaults of lines 3 to 12, in PsetDefaultValues::FileOrder.
const std::array<QString, PsetDefaultValues::FileOrder.size()> DefaultPsetValues = {
    QStringLiteral("80"), QStringLiteral("15"), QStringLiteral("50"), QStringLiteral("5"),
    QStringLiteral("0"),  QStringLiteral("10"), QStringLiteral("65"), QStringLiteral("85"),
    QStringLiteral("0"),  QStringLiteral("5"),
};
const QString DefaultReservedLine = QStringLiteral("2");
const QString DefaultConnectionLine = QStringLiteral("1");
const QString DefaultIpAddress = QStringLiteral("None");
const QString DefaultIpPort = QStringLiteral("1100");

// Line numbers of "Brenstal.ini", counted from 1 for its first line.
constexpr int PasswordLine = 2;
constexpr int FirstPsetDefaultLine = 3;
constexpr int ConnectionTypeLine = 14;
constexpr int IpAddressLine = 15;
constexpr int IpPortLine = 16;
// "delays.ini" is read as far as its first line, "Brenstal.ini" as far as its last setting: lines after
// them are never read.
constexpr int DelaysLines = 1;
constexpr int SettingsLines = IpPortLine;
// The longest line either file may have: far beyond any setting (a scrambled character takes at most five
// bytes), yet a damaged file of one endless line is refused before it is gathered.
constexpr qsizetype LongestSettingLine = 64 * 1024;

QByteArray delaysFile(long transferDelay) {
    return base::joinLinesCrLf({QString::number(transferDelay)});
}

// Integer part of the stored number, at least LowestTransferDelay.
long transferDelayFrom(double value) {
    const double whole = base::Int(value);
    if (!(whole >= LowestTransferDelay))
        return LowestTransferDelay;
    return long(std::min(whole, double(std::numeric_limits<int32_t>::max())));
}

// Link code of line 14: rounded half to even; outside 0..3 (or beyond 16 bits) it is no link.
int16_t connectionTypeFrom(const QString& text) {
    const auto code = base::CInt(base::textValue(text));
    if (!code || *code < clink::NoConnection || *code > clink::Usb)
        return clink::NoConnection;
    return *code;
}

} // namespace

SettingsFiles::SettingsFiles(clink::LinkState& link, AppSettings& settings, base::Dialogs& dialogs,
                             const LineScrambler& scrambler, QString folder)
    : link_(link), settings_(settings), dialogs_(dialogs), scrambler_(scrambler), folder_(std::move(folder)) {
}

QString SettingsFiles::pathOf(const QString& name) const {
    return folder_.isEmpty() ? base::programFile(name) : QDir(folder_).filePath(name);
}

QString SettingsFiles::settingsPath() const {
    return pathOf(SettingsFileName);
}
QString SettingsFiles::delaysPath() const {
    return pathOf(DelaysFileName);
}

void SettingsFiles::reportFileError(const QString& path, const QString& error) {
    const QString text = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error);
    dialogs_.message(text, text, base::MessageIcon::Critical);
}

bool SettingsFiles::writeReportingErrors(const QString& path, const QByteArray& bytes) {
    QString error;
    if (base::writeFileAtomically(path, bytes, &error))
        return true;
    reportFileError(path, error);
    return false;
}

bool SettingsFiles::readReportingErrors(const QString& path, int count, QStringList& lines, bool& tooLong) {
    QString error;
    if (base::readFirstLines(path, count, LongestSettingLine, lines, &error, &tooLong))
        return true;
    if (!tooLong)
        reportFileError(path, error);
    return false;
}

QByteArray SettingsFiles::scrambledFile(const QStringList& lines) const {
    QStringList scrambled;
    scrambled.reserve(lines.size());
    for (const QString& line : lines)
        scrambled.append(scrambler_.EncodeLine(line));
    return base::joinLinesCrLf(scrambled);
}

bool SettingsFiles::writeDefaultDelays() {
    return writeReportingErrors(delaysPath(), delaysFile(DefaultTransferDelay));
}

bool SettingsFiles::writeDefaultSettings() {
    settings_.Password = DefaultPassword;
    QStringList lines = {SettingsFileHeader, settings_.Password};
    for (std::size_t k = 0; k < PsetDefaultValues::FileOrder.size(); ++k) {
        QString& field = settings_.PsetDefaults.*PsetDefaultValues::FileOrder[k];
        field = base::fixedField(DefaultPsetValues[k], PsetDefaultWidth);
        lines.append(field);
    }
    lines << DefaultReservedLine << DefaultConnectionLine << DefaultIpAddress << DefaultIpPort;
    return writeReportingErrors(settingsPath(), scrambledFile(lines));
}

bool SettingsFiles::WriteDefaultIniFiles() {
    const bool delays = writeDefaultDelays();
    const bool settings = writeDefaultSettings();
    return delays && settings;
}

void SettingsFiles::loadDelays() {
    QStringList lines;
    bool tooLong = false;
    if (!readReportingErrors(delaysPath(), DelaysLines, lines, tooLong) && !tooLong)
        return;
    // A line too long to be a number, or a number too large to read, is no number either.
    const std::optional<double> value = tooLong ? std::nullopt : base::numberValue(lines.value(0));
    if (!value) {
        link_.TransferDelay = DefaultTransferDelay;
        writeDefaultDelays();
        return;
    }
    link_.TransferDelay = transferDelayFrom(*value);
}

void SettingsFiles::applySettingsLines(const QStringList& lines) {
    // Lines 2 onwards, as far as the file goes; what a short file lacks keeps its value.
    AppSettings settings = settings_;
    int16_t connectionType = link_.ConnectionType;
    QString ipAddress = link_.ControllerIpAddress;
    QString ipPort = link_.ControllerIpPort;

    const int count = std::min<int>(int(lines.size()), IpPortLine);
    for (int line = PasswordLine; line <= count; ++line) {
        const QString text = LineScrambler::DecodeLine(lines[line - 1]);
        const int field = line - FirstPsetDefaultLine;
        if (line == PasswordLine)
            settings.Password = text;
        else if (field >= 0 && field < int(PsetDefaultValues::FileOrder.size()))
            settings.PsetDefaults.*PsetDefaultValues::FileOrder[std::size_t(field)] =
                base::fixedField(text, PsetDefaultWidth);
        else if (line == ConnectionTypeLine)
            connectionType = connectionTypeFrom(text);
        else if (line == IpAddressLine)
            ipAddress = text;
        else if (line == IpPortLine)
            ipPort = text;
        // line 13 is reserved and ignored
    }

    settings_ = settings;
    link_.ConnectionType = connectionType;
    link_.ControllerIpAddress = ipAddress;
    link_.ControllerIpPort = ipPort;
}

void SettingsFiles::LoadIniFiles() {
    if (!QFileInfo::exists(delaysPath()))
        writeDefaultDelays();
    if (!QFileInfo::exists(settingsPath()))
        writeDefaultSettings();

    loadDelays();

    const auto hasHeader = [](const QStringList& lines) {
        return !lines.isEmpty() && LineScrambler::DecodeLine(lines.first()) == SettingsFileHeader;
    };
    QStringList lines;
    bool tooLong = false;
    if (!readReportingErrors(settingsPath(), SettingsLines, lines, tooLong) && !tooLong)
        return;
    // A line too long to be a setting is damage, as a wrong header is.
    if (tooLong || !hasHeader(lines)) {
        dialogs_.message(CorruptSettingsText, base::ProgramTitle, base::MessageIcon::Critical);
        WriteDefaultIniFiles();
        loadDelays();
        // When the defaults could not be written either, the write error has been shown: stop here.
        if (!readReportingErrors(settingsPath(), SettingsLines, lines, tooLong) || !hasHeader(lines))
            return;
    }
    applySettingsLines(lines);
}

bool SettingsFiles::SaveIniFile() {
    QStringList lines = {SettingsFileHeader, settings_.Password};
    for (const auto field : PsetDefaultValues::FileOrder)
        lines.append(base::fixedField(settings_.PsetDefaults.*field, PsetDefaultWidth));
    lines << QString() << QString::number(link_.ConnectionType) << link_.ControllerIpAddress
          << link_.ControllerIpPort;

    // Both files or neither: the password, defaults and link never stand beside another save's delay.
    const base::FileBytes files[] = {{settingsPath(), scrambledFile(lines)},
                                     {delaysPath(), delaysFile(link_.TransferDelay)}};
    QString error;
    QString failed;
    if (base::writeFilesTogether(files, &error, &failed))
        return true;
    dialogs_.message(base::notWrittenText(NotStoredText, failed, error), NotStoredCaption,
                     base::MessageIcon::Critical);
    return false;
}

} // namespace app
