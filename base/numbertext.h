#pragma once
// How numbers are read from and written to the program's stored files, reports and frames, kept in one
// place so that every one of them holds numbers exactly as the controller's other tools expect.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace base {

// Leading number of a text: blanks, tabs and line feeds are ignored anywhere ("1 2" is 12), a sign, a
// decimal point, an exponent with E or D, and &H / &O prefixes; no number gives 0.
double textValue(const QString& text);

// True when the whole text (blanks around it allowed) is one decimal number: a sign, digits with an
// optional decimal point, an optional exponent with E or D. This is what a numeric conversion accepts
// without error ("2.9", " -4 ", "1E3"); "", "8 ms" and "abc" are not numbers.
bool isNumberText(const QString& text);
// The value of a text that is one decimal number (isNumberText); nothing for any other text, and for a
// number a double cannot hold (65,536 digits, 1E999).
std::optional<double> numberValue(const QString& text);

// Round half to even to a 16-bit integer (2.5 -> 2, 3.5 -> 4). Returns nothing when the result does not
// fit a 16-bit integer (an overflow).
std::optional<int16_t> CInt(double value);

// The whole part of a value (cut toward zero) as an int; nothing when the value is not finite or its whole
// part does not fit an int, where a plain conversion would be undefined.
std::optional<int> wholeInt(double value);

// Round half to even without a range check.
double roundHalfEven(double value);

// Floor (Int(-1.5) = -2).
double Int(double value);

// Shortest general decimal of a Double: up to 15 significant digits, no trailing zeros, "0.5" form.
QString numberText(double value);

// Fixed decimals ("0.00" for 2): rounds half away from zero on the 15-digit decimal text,
// so 0.125 gives "0.13" and 1.005 gives "1.01".
QString formatFixed(double value, int decimals);

// Fixed-width text field: left-aligned, padded with blanks, cut at width. Trailing blanks are kept.
QString fixedField(const QString& text, int width);
inline QString fixed40(const QString& text) {
    return fixedField(text, 40);
}

// Text with its trailing blanks removed.
QString rtrim(const QString& text);

// Text with its leading and trailing blanks removed. Only blanks (0x20) go: tabs and other white space
// stay, as in the padded fields of the program's records.
QString Trim(const QString& text);

} // namespace base
