#include "app/parameterfile.h"

#include "app/linescrambler.h"
#include "base/textlines.h"
#include "base/vbrules.h"
#include "link/linkstate.h"

#include <algorithm>

namespace app {

namespace {
constexpr int HeaderLines = 2;
const QString SourceSuffix = QStringLiteral(".TXT");
constexpr int ReplacedSuffixLength = 3;
const QString ParameterSuffix = QStringLiteral("prm");

// Nearest 16-bit integer of a value already within its range.
int nearestInteger(double value) {
    return base::CInt(value).value_or(0);
}
} // namespace

QString parameterFileTypeLine(ParameterFileKind kind) {
    return kind == ParameterFileKind::Tool ? QStringLiteral("FILE TYPE: TOOL PARAMETERS")
                                           : QStringLiteral("FILE TYPE: EXTERNAL TRANSDUCER PARAMETERS");
}

ParameterFileCheck checkParameterFile(const QStringList& stored, ParameterFileKind kind) {
    ParameterFileCheck check;
    // A file that ends before its free-text line is no parameter file either.
    if (stored.size() < HeaderLines ||
        LineScrambler::DecodeLine(stored.first()).toUpper() != parameterFileTypeLine(kind)) {
        check.result = ParameterFileCheck::Result::WrongType;
        return check;
    }
    auto refuse = [&check](const QString& text) {
        check.result = ParameterFileCheck::Result::BadData;
        check.errorText = text;
        check.lines.clear();
        check.validLines = 0;
        return check;
    };
    for (qsizetype i = HeaderLines; i < stored.size(); ++i) {
        if (stored[i].isEmpty()) {
            check.lines.push_back(std::nullopt);
            continue;
        }
        const QString line = LineScrambler::DecodeLine(stored[i]);
        const qsizetype comma = line.lastIndexOf(u',');
        if (comma < 0)
            return refuse(QStringLiteral("InValid Data Line - No Comma"));
        const double address = base::vbVal(line.left(comma));
        const double data = base::vbVal(line.mid(comma + 1));
        if (address > ParameterLargestAddress)
            return refuse(QStringLiteral("InValid Address Value - Address > 1023"));
        if (address < 0)
            return refuse(QStringLiteral("InValid Address Value - Address < 0"));
        if (data > ParameterLargestData)
            return refuse(QStringLiteral("InValid Data Value - Data > 255"));
        if (data < 0)
            return refuse(QStringLiteral("InValid Data Value - Data < 0"));
        check.lines.push_back(ParameterWrite{nearestInteger(address), nearestInteger(data)});
        ++check.validLines;
    }
    return check;
}

ParameterTransfer transferParameterLines(const ParameterFileCheck& file, const ParameterEeprom& eeprom,
                                         clink::LinkState& state, const std::function<void(int)>& progress) {
    int done = 0;
    for (const std::optional<ParameterWrite>& line : file.lines) {
        if (line) {
            for (int mismatches = 0;;) {
                if (!eeprom.write(line->address, line->data))
                    return ParameterTransfer::WriteFailed;
                state.DataCount = 0;
                if (!eeprom.read(line->address))
                    return ParameterTransfer::ReadFailed;
                if (state.DataBuffer[0] == line->data)
                    break;
                if (++mismatches == ParameterWriteTries)
                    return ParameterTransfer::Mismatch;
            }
        }
        if (progress)
            progress(++done);
    }
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
    QStringList plain;
    QString error;
    if (!base::readTextLines(sourcePath, plain, &error)) {
        result.errorText =
            QStringLiteral("Unable To Read File ") + sourcePath + QStringLiteral("\r\n") + error;
        return result;
    }
    if (started)
        started(int(plain.size()));
    QStringList scrambled;
    scrambled.reserve(plain.size());
    for (const QString& line : plain) {
        scrambled.append(scrambler.EncodeLine(line));
        if (progress)
            progress(int(scrambled.size()));
    }
    if (!base::writeTextLines(result.output, scrambled, &error)) {
        result.errorText =
            QStringLiteral("Unable To Write File ") + result.output + QStringLiteral("\r\n") + error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace app
