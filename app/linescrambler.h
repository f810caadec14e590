#pragma once
// The program's own reversible line scrambler, used for every line of "Brenstal.ini" and of the tool and
// transducer parameter files.
//
// Each character of the plain text (its Windows-1252 code a, 0..255) becomes one group: a decimal digit n
// (3 or 4) followed by n symbols "!".."}" (codes 33..125). With a random factor r (10..28), P = (355 - a) x r
// always has four digits D1 D2 D3 D4; the six-digit number D1 D2 R1 R2 D3 D4 is written in base 93, most
// significant symbol first, each digit d as the character d + 33. A fresh factor is drawn for every
// character, so the same text scrambles differently on every write. The file texts contain '"', ',', ';'
// and digits: they are never parsed as INI or CSV.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace app {

class LineScrambler {
public:
    static constexpr int LowestFactor = 10;
    static constexpr int HighestFactor = 28;

    // Supplies the random factor of one character, LowestFactor..HighestFactor (values outside are clamped).
    using FactorSource = std::function<int()>;

    // Draws every factor from a generator of its own, seeded from the system's.
    LineScrambler();
    // Tests inject a fixed or scripted factor for byte-exact files.
    explicit LineScrambler(FactorSource source);

    // Scrambled form of one line: 4 to 5 characters per character of text; an empty text gives "".
    QString EncodeLine(const QString& text) const;
    // The same for a line of Windows-1252 bytes, appended to out as bytes (a whole file scrambled line by
    // line without a text conversion per line).
    void appendEncoded(QByteArrayView plain, QByteArray& out) const;

    // Plain form of one scrambled line. A malformed group (no leading digit, not six decimal digits,
    // a zero factor, or a code outside 0..255) is skipped; the rest of the line still decodes.
    static QString DecodeLine(const QString& text);

private:
    FactorSource source_;
};

} // namespace app
