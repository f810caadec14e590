#include "app/parameterfile.h"

#include "app/linescrambler.h"
#include "base/cp1252.h"
#include "base/linereader.h"
#include "base/numbertext.h"
#include "base/textlines.h"
#include "link/linkstate.h"

#include <algorithm>

namespace app {

namespace {
constexpr int HeaderLines = 2;
const QString SourceSuffix = QStringLiteral(".TXT");
constexpr int ReplacedSuffixLength = 3;
const QString ParameterSuffix = QStringLiteral("prm");
// The most bytes one character takes once scrambled: its digit and four symbols.
constexpr qsizetype LongestScrambledCharacter = 5;
// A source line is scrambled this many characters at a time, so a line of any length costs one buffer of
// this size once scrambled.
constexpr qsizetype ScrambledPiece = 64 * 1024;
// The most progress steps a whole source is reported in.
constexpr qsizetype ProgressSteps = 1000;

// Nearest 16-bit integer of a value already within its range.
int nearestInteger(double value) {
    return base::CInt(value).value_or(0);
}
} // namespace

QString parameterFileTypeLine(ParameterFileKind kind) {
    return kind == ParameterFileKind::Tool ? QStringLiteral("FILE TYPE: TOOL PARAMETERS")
                                           : QStringLiteral("FILE TYPE: EXTERNAL TRANSDUCER PARAMETERS");
}

ParameterFileCheck checkParameterFile(QIODevice& file, ParameterFileKind kind) {
    ParameterFileCheck check;
    base::LineReader reader(file);
    const std::optional<QString> type = reader.next();
    // A file that ends before its free-text line is no parameter file either.
    if (!type || LineScrambler::DecodeLine(*type).toUpper() != parameterFileTypeLine(kind) ||
        !reader.skip()) {
        check.result =
            reader.failed() ? ParameterFileCheck::Result::Unreadable : ParameterFileCheck::Result::WrongType;
        return check;
    }
    auto refuse = [&check](const QString& text) {
        check.result = ParameterFileCheck::Result::BadData;
        check.errorText = text;
        check.writes.clear();
        check.lines = 0;
        check.validLines = 0;
        return check;
    };
    while (const std::optional<QString> stored = reader.next()) {
        ++check.lines;
        if (stored->isEmpty())
            continue;
        const QString line = LineScrambler::DecodeLine(*stored);
        const qsizetype comma = line.lastIndexOf(u',');
        if (comma < 0)
            return refuse(QStringLiteral("InValid Data Line - No Comma"));
        const double address = base::textValue(line.left(comma));
        const double data = base::textValue(line.mid(comma + 1));
        if (address > ParameterLargestAddress)
            return refuse(QStringLiteral("InValid Address Value - Address > 1023"));
        if (address < 0)
            return refuse(QStringLiteral("InValid Address Value - Address < 0"));
        if (data > ParameterLargestData)
            return refuse(QStringLiteral("InValid Data Value - Data > 255"));
        if (data < 0)
            return refuse(QStringLiteral("InValid Data Value - Data < 0"));
        check.writes.push_back({check.lines, ParameterWrite{nearestInteger(address), nearestInteger(data)}});
        ++check.validLines;
    }
    if (reader.failed()) {
        check = ParameterFileCheck{};
        check.result = ParameterFileCheck::Result::Unreadable;
    }
    return check;
}

ParameterTransfer transferParameterLines(const ParameterFileCheck& file, const ParameterEeprom& eeprom,
                                         clink::LinkState& state, const std::function<void(int)>& progress) {
    qsizetype done = 0;
    // Every stored line up to line, empty ones included, is one step of progress.
    const auto advanceTo = [&](qsizetype line) {
        while (done < line) {
            ++done;
            if (progress)
                progress(int(done));
        }
    };
    for (const ParameterLine& line : file.writes) {
        advanceTo(line.line - 1);
        const ParameterWrite& write = line.write;
        for (int mismatches = 0;;) {
            if (!eeprom.write(write.address, write.data))
                return ParameterTransfer::WriteFailed;
            state.DataCount = 0;
            if (!eeprom.read(write.address))
                return ParameterTransfer::ReadFailed;
            if (state.DataBuffer[0] == write.data)
                break;
            if (++mismatches == ParameterWriteTries)
                return ParameterTransfer::Mismatch;
        }
        advanceTo(line.line);
    }
    advanceTo(file.lines);
    return ParameterTransfer::Done;
}

bool isParameterSourceName(const QString& path) {
    return path.right(SourceSuffix.size()).toUpper() == SourceSuffix;
}

QString parameterFileNameFor(const QString& sourcePath) {
    return sourcePath.chopped(std::min<qsizetype>(ReplacedSuffixLength, sourcePath.size())) + ParameterSuffix;
}

EncryptResult encryptParameterSource(const QString& sourcePath, const LineScrambler& scrambler,
                                     const std::function<void(int)>& started,
                                     const std::function<void(int)>& progress) {
    EncryptResult result;
    result.output = parameterFileNameFor(sourcePath);
    base::TextLines plain;
    QString error;
    if (!base::readTextLines(sourcePath, plain, &error)) {
        result.errorText =
            QStringLiteral("Unable To Read File ") + sourcePath + QStringLiteral("\r\n") + error;
        return result;
    }
    if (started)
        started(int(plain.size()));
    base::TextFileWriter scrambled(result.output);
    if (!scrambled.open(&error)) {
        result.errorText =
            QStringLiteral("Unable To Write File ") + result.output + QStringLiteral("\r\n") + error;
        return result;
    }
    // The progress moves in steps a bar can show, not once per line of a file of millions.
    const qsizetype step = std::max<qsizetype>(plain.size() / ProgressSteps, 1);
    qsizetype written = 0;
    QByteArray piece;
    piece.reserve(ScrambledPiece * LongestScrambledCharacter);
    for (const QByteArrayView source : plain) {
        // A long line goes out in pieces, its line end after the last.
        QByteArrayView rest = source;
        for (; rest.size() > ScrambledPiece; rest = rest.sliced(ScrambledPiece)) {
            piece.resize(0);
            scrambler.appendEncoded(rest.first(ScrambledPiece), piece);
            scrambled.addBytes(piece);
        }
        piece.resize(0);
        scrambler.appendEncoded(rest, piece);
        scrambled.addLine(piece);
        if (progress && (++written % step == 0 || written == plain.size()))
            progress(int(written));
    }
    if (!scrambled.commit(&error)) {
        result.errorText =
            QStringLiteral("Unable To Write File ") + result.output + QStringLiteral("\r\n") + error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace app
