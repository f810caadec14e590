#include "logicio/logicimage.h"

#include "base/programfolder.h"
#include "base/textlines.h"
#include "link/databuffer.h"
#include "logicio/logiccatalogue.h"

#include <QDebug>

#include <algorithm>

namespace logicio {

namespace {

constexpr int ByteMask = 0xFF;
constexpr int OrMark = 0x80;
constexpr int IndexMask = 0x7F;
constexpr int ConditionWords = 2; // index and value of a condition slot
constexpr int FirstActionWord = 8;
constexpr int LargestSeconds = ValueMask; // what a code word's value byte holds
const QString ListingFile = QStringLiteral("C:\\NewLogic.txt");

int rungBase(int r) {
    return LogicImage::WordsPerRung * (r - LogicRungs::FirstRung);
}

int timerOf(int actionIndex) {
    return actionIndex - FirstTimerStart + 1;
}

int presetWord(int timer) {
    return LogicImage::TimerPresetWord + 2 * (timer - 1);
}

void setPreset(LogicImage& image, int timer, int ticks) {
    image.setWord(presetWord(timer), (ticks / CodeScale) & ByteMask);
    image.setWord(presetWord(timer) + 1, ticks & ByteMask);
}

void encodeRung(const LogicRung& rung, int base, LogicImage& image) {
    image.setWord(base, codeIndex(rung.In1) & ByteMask);
    image.setWord(base + 1, codeValue(rung.In1));
    for (int k = 2; k <= ConditionSlots; ++k) {
        const int w = base + ConditionWords * (k - 1);
        const int mark = rung.op(k - 1) != 0 ? OrMark : 0;
        image.setWord(w, (codeIndex(rung.in(k)) + mark) & ByteMask);
        image.setWord(w + 1, codeValue(rung.in(k)));
    }
    for (int k = 1; k <= ActionSlots; ++k) {
        const int index = codeIndex(rung.out(k)) & ByteMask;
        image.setWord(base + FirstActionWord + k - 1, index);
        if (isTimerStart(index))
            setPreset(image, timerOf(index), codeValue(rung.out(k)) * LogicImage::TicksPerSecond);
    }
}

// A condition slot from its index word (OR mark stripped) and value word.
void decodeCondition(int indexWord, int valueWord, int32_t& code, QString& text) {
    const int index = indexWord & IndexMask;
    const int value = valueWord & ByteMask;
    code = codeWord(index, value);
    text = ConditionText(index);
    if (isCounterCondition(index))
        text = counterText(text, QString::number(value));
}

void decodeRung(LogicVariant textSet, const LogicImage& image, int base, LogicRung& rung) {
    rung = LogicRung();
    decodeCondition(image.word(base), image.word(base + 1), rung.In1, rung.In1Text);
    for (int k = 2; k <= ConditionSlots; ++k) {
        const int w = base + ConditionWords * (k - 1);
        const int op = (image.word(w) & OrMark) != 0 ? OrOperator : AndOperator;
        rung.op(k - 1) = op;
        rung.opText(k - 1) = OperatorText(op);
        decodeCondition(image.word(w), image.word(w + 1), rung.in(k), rung.inText(k));
    }
    for (int k = 1; k <= ActionSlots; ++k) {
        const int index = image.word(base + FirstActionWord + k - 1) & ByteMask;
        rung.out(k) = codeWord(index, 0);
        rung.outText(k) = ActionText(textSet, index);
        if (isTimerStart(index)) {
            // A preset above 255 s would spill into the action's list index.
            const int seconds =
                std::min(image.timerTicks(timerOf(index)) / LogicImage::TicksPerSecond, LargestSeconds);
            rung.out(k) += seconds;
            rung.outText(k) = timerText(rung.outText(k), QString::number(seconds));
        }
    }
    rebuildSummaries(rung, SummaryForm::Refresh);
}

} // namespace

int LogicImage::timerTicks(int timer) const {
    const int high = word(presetWord(timer)) & ByteMask;
    const int low = word(presetWord(timer) + 1) & ByteMask;
    return high * CodeScale + low;
}

std::span<const int> LogicImage::sentWords(LogicVariant variant) const {
    return std::span(words_).first(size_t(std::min(logicVersion(variant).encodedWords, int(Words))));
}

LogicImage LogicImage::fromDataBuffer(const clink::DataBufferArray& buffer, LogicVariant variant) {
    LogicImage image;
    const int count = std::min(logicVersion(variant).blocks * WordsPerBlock, int(Words));
    for (int i = 0; i < count; ++i)
        image.setWord(i, buffer[i]);
    return image;
}

LogicImage EncodeLogic(const LogicRungs& rungs) {
    LogicImage image;
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        encodeRung(rungs[r], rungBase(r), image);
    return image;
}

void DecodeLogic(LogicVariant textSet, const LogicImage& image, LogicRungs& rungs) {
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        decodeRung(textSet, image, rungBase(r), rungs[r]);
}

QStringList logicListing(LogicVariant variant, const LogicImage& image) {
    const LogicVersion& version = logicVersion(variant);
    QStringList lines;
    lines.reserve(version.listingWords);
    for (int i = 0; i < version.listingWords; ++i) {
        const QString line = QStringLiteral("LogicIo[%1] = %2").arg(i).arg(image.word(i));
        lines.append(version.quotedListing ? u'"' + line + u'"' : line);
    }
    return lines;
}

void writeLogicListing(LogicVariant variant, const LogicImage& image) {
    QString error;
    if (!base::writeTextLines(base::programFile(ListingFile), logicListing(variant, image), &error))
        qWarning() << "logic image listing not written:" << error;
}

} // namespace logicio
