#include "app/linescrambler.h"

#include "base/cp1252.h"
#include "base/numbertext.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace app {

namespace {

constexpr int SymbolBase = 93;
constexpr int FirstSymbol = 33; // '!'
// c = 256 - a + 99: the character code folded into 100..355.
constexpr int CodeFold = 355;
constexpr int LargestCode = 255;
// Place value of the leading symbol: 93^2 in a three-symbol group, 93^3 in a four-symbol group (a number
// from 93^3 on needs four symbols).
constexpr int ThreeSymbolLead = SymbolBase * SymbolBase;
constexpr int FourSymbolLead = ThreeSymbolLead * SymbolBase;
// The group's number has exactly six decimal digits D1 D2 R1 R2 D3 D4.
constexpr double SmallestGroupNumber = 100000;
constexpr double LargestGroupNumber = 999999;
constexpr int Hundred = 100;
constexpr int TenThousand = 10000;

constexpr int Codes = LargestCode + 1;
constexpr int Factors = LineScrambler::HighestFactor - LineScrambler::LowestFactor + 1;
constexpr int LongestGroup = 5; // the digit and four symbols

// One character's group: its digit and symbols.
struct Group {
    std::array<char, LongestGroup> bytes{};
    int size = 0;
};

Group encodeCharacter(int code, int factor) {
    const int p = (CodeFold - code) * factor; // always four digits: 1000..9940
    int x = (p / Hundred) * TenThousand + factor * Hundred + p % Hundred;
    const bool four = x >= FourSymbolLead;
    Group group;
    group.bytes[size_t(group.size++)] = four ? '4' : '3';
    for (int place = four ? FourSymbolLead : ThreeSymbolLead; place >= 1; place /= SymbolBase) {
        group.bytes[size_t(group.size++)] = char(FirstSymbol + x / place);
        x %= place;
    }
    return group;
}

// Every character's group for every factor, worked out once: scrambling a line is a look-up per character.
const std::vector<Group>& groups() {
    static const std::vector<Group> table = [] {
        std::vector<Group> all;
        all.reserve(size_t(Codes) * Factors);
        for (int code = 0; code < Codes; ++code)
            for (int factor = LineScrambler::LowestFactor; factor <= LineScrambler::HighestFactor; ++factor)
                all.push_back(encodeCharacter(code, factor));
        return all;
    }();
    return table;
}

std::optional<int> decodeGroup(double x) {
    if (x < SmallestGroupNumber || x > LargestGroupNumber || x != std::floor(x))
        return std::nullopt;
    const int digits = int(x);
    const int factor = (digits / Hundred) % Hundred;                   // R1 R2
    const int p = (digits / TenThousand) * Hundred + digits % Hundred; // D1 D2 D3 D4
    if (factor == 0)
        return std::nullopt;
    const int code = CodeFold - int(base::roundHalfEven(double(p) / factor));
    if (code < 0 || code > LargestCode)
        return std::nullopt;
    return code;
}

} // namespace

LineScrambler::LineScrambler()
    : source_([generator = std::make_shared<QRandomGenerator>(QRandomGenerator::global()->generate())] {
          return int(generator->bounded(LowestFactor, HighestFactor + 1));
      }) {}

LineScrambler::LineScrambler(FactorSource source) : source_(std::move(source)) {}

QString LineScrambler::EncodeLine(const QString& text) const {
    if (text.isEmpty())
        return {};
    QByteArray out;
    appendEncoded(base::toCp1252(text), out);
    return QString::fromLatin1(out);
}

void LineScrambler::appendEncoded(QByteArrayView plain, QByteArray& out) const {
    if (plain.isEmpty())
        return;
    const std::vector<Group>& table = groups();
    qsizetype at = out.size();
    out.resize(at + plain.size() * LongestGroup);
    char* to = out.data();
    for (const char ch : plain) {
        const int factor = std::clamp(source_(), LowestFactor, HighestFactor);
        const Group& group =
            table[size_t(static_cast<unsigned char>(ch)) * Factors + size_t(factor - LowestFactor)];
        std::copy_n(group.bytes.begin(), group.size, to + at);
        at += group.size;
    }
    out.resize(at);
}

QString LineScrambler::DecodeLine(const QString& text) {
    const QByteArray in = base::toCp1252(text);
    QByteArray out;
    qsizetype i = 0;
    while (i < in.size()) {
        const char lead = in[i];
        const int count = (lead >= '0' && lead <= '9') ? lead - '0' : 0;
        double x = 0;
        for (const char symbol : in.mid(i + 1, count))
            x = x * SymbolBase + (static_cast<unsigned char>(symbol) - FirstSymbol);
        i += count + 1;
        if (const auto code = decodeGroup(x))
            out.append(char(*code));
    }
    return base::fromCp1252(out);
}

} // namespace app
