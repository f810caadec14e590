#include "base/numbertext.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace base {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

double parseRadix(const QString& digits, int radix) {
    double v = 0;
    for (QChar c : digits) {
        if (isBlank(c))
            continue;
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c.unicode() - u'0';
        else if (radix == 16 && c.toUpper() >= u'A' && c.toUpper() <= u'F')
            d = c.toUpper().unicode() - u'A' + 10;
        if (d < 0 || d >= radix)
            break;
        v = v * radix + d;
    }
    // &H and &O literals are 16-bit when they fit, so &HFFFF reads as -1.
    if (v <= 0xFFFF && v > 0x7FFF)
        v -= 0x10000;
    return v;
}

// The leading decimal number of a text without blanks, [sign] digits [. digits] [E|D [sign] digits];
// nothing when there is none, or when it is too large (or too small) for a double.
std::optional<double> leadingDecimal(const QString& s) {
    // Longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    int i = 0;
    const int n = int(s.size());
    QString number;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        number.append(s[i++]);
    bool digits = false;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        number.append(s[i++]);
        digits = true;
    }
    if (i < n && s[i] == u'.') {
        number.append(s[i++]);
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            number.append(s[i++]);
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        int j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            exponent.append(s[j++]);
        bool expDigits = false;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) {
            exponent.append(s[j++]);
            expDigits = true;
        }
        if (expDigits)
            number.append(exponent);
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

} // namespace

std::optional<double> numberValue(const QString& text) {
    return isNumberText(text) ? leadingDecimal(text.trimmed()) : std::nullopt;
}

double textValue(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            s.append(c);

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        if (kind == u'H')
            return parseRadix(s.mid(2), 16);
        if (kind == u'O')
            return parseRadix(s.mid(2), 8);
    }

    return leadingDecimal(s).value_or(0);
}

bool isNumberText(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[ \\t]*[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eEdD][+-]?[0-9]+)?[ \\t]*$"));
    return number.match(text).hasMatch();
}

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

std::optional<int16_t> CInt(double value) {
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<int16_t>::min() ||
        r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int> wholeInt(double value) {
    const double whole = std::trunc(value);
    if (!std::isfinite(whole) || whole < std::numeric_limits<int>::min() ||
        whole > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(whole);
}

double Int(double value) {
    return std::floor(value);
}

QString numberText(double value) {
    if (value == 0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    // Large and small magnitudes take the exponent form ("1E+16"), written as E+NN without padding
    // zeros.
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        QString mantissa = s.left(e);
        QString exponent = s.mid(e + 1);
        QChar sign = u'+';
        if (exponent.startsWith(u'-') || exponent.startsWith(u'+')) {
            sign = exponent[0];
            exponent = exponent.mid(1);
        }
        while (exponent.size() > 2 && exponent.startsWith(u'0'))
            exponent = exponent.mid(1);
        s = mantissa + u'E' + sign + exponent;
    }
    return s;
}

QString formatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return QString::number(value);
    // Work on the 15-significant-digit decimal text, then round half away from zero there.
    const bool negative = value < 0;
    QString digits = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde±XX
    const qsizetype e = digits.indexOf(u'e');
    const int exponent = digits.mid(e + 1).toInt();
    QString mantissa = digits.left(e);
    mantissa.remove(u'.');
    // Decimal string of the value as integer digits with the point after position (exponent + 1).
    int pointPos = exponent + 1;
    if (pointPos <= 0) {
        mantissa = QString(-pointPos + 1, u'0') + mantissa;
        pointPos = 1;
    }
    while (mantissa.size() < pointPos + decimals + 1)
        mantissa.append(u'0');
    // Keep pointPos + decimals digits, look at the next one.
    QString kept = mantissa.left(pointPos + decimals);
    const bool roundUp = mantissa[pointPos + decimals] >= u'5';
    if (roundUp) {
        int i = int(kept.size()) - 1;
        while (i >= 0) {
            if (kept[i] == u'9') {
                kept[i] = u'0';
                --i;
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(u'1');
            ++pointPos;
        }
    }
    QString intPart = kept.left(pointPos);
    while (intPart.size() > 1 && intPart.startsWith(u'0'))
        intPart = intPart.mid(1);
    QString result = intPart;
    if (decimals > 0)
        result += u'.' + kept.mid(pointPos, decimals);
    bool allZero = true;
    for (QChar c : result)
        if (c != u'0' && c != u'.')
            allZero = false;
    if (negative && !allZero)
        result.prepend(u'-');
    return result;
}

QString fixedField(const QString& text, int width) {
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), u' ');
}

QString rtrim(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n);
}

QString Trim(const QString& text) {
    qsizetype first = 0;
    while (first < text.size() && text[first] == u' ')
        ++first;
    return rtrim(text.mid(first));
}

} // namespace base
