#include "Gb18030.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace textfile {

namespace {

constexpr char kName[] = "GB18030";
constexpr auto kWholeInput = QStringConverter::Flag::Stateless;
constexpr char16_t kEuro = 0x20AC;
constexpr uchar kEuroIn936 = 0x80;
constexpr char16_t kReplacement = 0xFFFD;
constexpr QByteArrayView kReplacementIn4Bytes("\x84\x31\xA4\x37");

bool isLead(uchar b) { return b >= 0x81 && b <= 0xFE; }
bool isTrail(uchar b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }
bool isDigit(uchar b) { return b >= 0x30 && b <= 0x39; }

template <typename Converter>
Converter converter()
{
    Converter made(kName, kWholeInput);
    if (!made.isValid())
        throw std::runtime_error("this Qt build has no GB18030 converter");
    return made;
}

class TwoByteTables {
public:
    static const TwoByteTables& instance()
    {
        static const TwoByteTables tables;
        return tables;
    }
    // U+FFFD where the pair has no character; 0 where the character has no two-byte form (no
    // pair is 0, and characters below 0x80 never come here).
    char16_t toUnicode(uchar lead, uchar trail) const { return toUnicode_[lead << 8 | trail]; }
    quint16 fromUnicode(char16_t c) const { return fromUnicode_[c]; }
    // The two bytes of a character written in UTF-8 with three bytes, in their file order as
    // one number in memory order (stored as it is), or 0 where such a character takes another
    // path: no two-byte form, the euro sign, a surrogate, or a code below U+0800 (an overlong
    // sequence, which is no UTF-8).
    quint16 threeByteCharacter(char32_t c) const { return fromThreeByteUtf8_[c]; }

private:
    // Every lead and trail pair decodes to one character of the basic plane.
    TwoByteTables() : toUnicode_(0x10000, kReplacement), fromUnicode_(0x10000), fromThreeByteUtf8_(0x10000)
    {
        QByteArray pairs;
        std::vector<quint16> codes;
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                if (isTrail(uchar(trail))) {
                    pairs += char(lead);
                    pairs += char(trail);
                    codes.push_back(quint16(lead << 8 | trail));
                }
        const QString decoded = converter<QStringDecoder>().decode(pairs);
        if (decoded.size() != qsizetype(codes.size()))
            throw std::runtime_error("the GB18030 converter decodes two-byte pairs unexpectedly");
        for (size_t i = 0; i < codes.size(); ++i) {
            const char16_t c = decoded[qsizetype(i)].unicode();
            if (c == kReplacement)
                continue;
            toUnicode_[codes[i]] = c;
            if (!fromUnicode_[c])
                fromUnicode_[c] = codes[i];
        }
        for (char32_t c = 0x800; c < 0x10000; ++c) {
            if (c == kEuro || QChar::isSurrogate(c) || !fromUnicode_[c])
                continue;
            const char pair[2] = {char(fromUnicode_[c] >> 8), char(fromUnicode_[c] & 0xFF)};
            std::memcpy(&fromThreeByteUtf8_[c], pair, 2);
        }
    }

    std::vector<char16_t> toUnicode_;
    std::vector<quint16> fromUnicode_;
    std::vector<quint16> fromThreeByteUtf8_;
};

// How many bytes the character at i takes, by the converter's own rule for broken input: a lead
// byte whose follower cannot continue it stands alone, and the follower starts afresh.
qsizetype characterLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < bytes.size() ? uchar(bytes[k]) : uchar(0); };
    if (!isLead(at(i)))
        return 1;
    if (isDigit(at(i + 1)))
        return isLead(at(i + 2)) && isDigit(at(i + 3)) ? 4 : 1;
    return isTrail(at(i + 1)) && i + 1 < bytes.size() ? 2 : 1;
}

// Decodes bytes into UTF-16 units, handing each to put; true when every byte was part of a
// character (the encoded U+FFFD counts as one).
template <typename Put>
bool decodeUnits(QByteArrayView bytes, Put put)
{
    bool allFormed = true;
    const TwoByteTables& tables = TwoByteTables::instance();
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        const qsizetype length = b < 0x80 ? 1 : characterLength(bytes, i);
        char16_t c = kReplacement;
        if (b < 0x80)
            c = b;
        else if (b == kEuroIn936)
            c = kEuro;
        else if (length == 2)
            c = tables.toUnicode(b, uchar(bytes[i + 1]));
        if (length == 4) {
            const QByteArrayView sequence = bytes.sliced(i, 4);
            const QString decoded = converter<QStringDecoder>().decode(sequence);
            for (QChar unit : decoded)
                put(unit.unicode());
            if (decoded == QChar(kReplacement) && sequence != kReplacementIn4Bytes)
                allFormed = false;
        } else {
            put(c);
            if (c == kReplacement)
                allFormed = false;
        }
        i += length;
    }
    return allFormed;
}

char* putUtf8(char* out, char32_t c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | c >> 18);
        *out++ = char(0x80 | (c >> 12 & 0x3F));
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Writes one character of the basic plane that is no surrogate.
char* putGb18030(char* out, char16_t c, const TwoByteTables& tables)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c == kEuro) {
        *out++ = char(kEuroIn936);
    } else if (const quint16 code = tables.fromUnicode(c)) {
        *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    } else {
        out = converter<QStringEncoder>().appendToBuffer(out, QStringView(&c, 1));
    }
    return out;
}

// The character of the well-formed UTF-8 sequence at p (shortest form, no surrogate, at most
// U+10FFFF) and its length, or length 0 when the bytes there form none.
struct Utf8Character {
    char32_t c = 0;
    int length = 0;
};

Utf8Character readUtf8(const uchar* p, const uchar* end)
{
    const uchar b = *p;
    Utf8Character read;
    if (b >= 0xC2 && b <= 0xDF)
        read = {char32_t(b & 0x1F), 2};
    else if (b >= 0xE0 && b <= 0xEF)
        read = {char32_t(b & 0x0F), 3};
    else if (b >= 0xF0 && b <= 0xF4)
        read = {char32_t(b & 0x07), 4};
    else
        return {};
    if (end - p < read.length)
        return {};
    for (int k = 1; k < read.length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return {};
        read.c = read.c << 6 | (p[k] & 0x3F);
    }
    const bool shortest = read.length == 2 || (read.length == 3 && read.c >= 0x800)
                          || (read.length == 4 && read.c >= 0x10000);
    if (!shortest || (read.c >= 0xD800 && read.c <= 0xDFFF) || read.c > 0x10FFFF)
        return {};
    return read;
}


// Encodes what nearly all text consists of while at least eight input bytes remain: runs of
// ASCII eight bytes at a time, and characters of three UTF-8 bytes that have two bytes here
// (Chinese), two at a time where two follow each other. Stops at the first character that needs
// a closer look; returns where.
const uchar* encodeCommonRun(const uchar* p, const uchar* end, char*& out, const TwoByteTables& tables)
{
    constexpr quint64 kAsciiMask = 0x8080808080808080ULL;
    // A lead byte 1110xxxx and two followers 10xxxxxx, first byte lowest.
    constexpr quint64 kOneMask = 0xC0C0F0, kOneBits = 0x8080E0;
    constexpr quint64 kPairMask = kOneMask << 24 | kOneMask, kPairBits = kOneBits << 24 | kOneBits;
    const auto character = [](quint64 w) {
        return char32_t((w & 0x0F) << 12 | (w >> 2 & 0x0FC0) | (w >> 16 & 0x3F));
    };
    char* o = out;
    while (end - p >= 8) {
        const quint64 w = qFromLittleEndian<quint64>(p);
        if ((w & kAsciiMask) == 0) {
            std::memcpy(o, p, 8);
            o += 8;
            p += 8;
            continue;
        }
        if ((w & kPairMask) == kPairBits) {
            const quint16 first = tables.threeByteCharacter(character(w));
            const quint16 second = tables.threeByteCharacter(character(w >> 24));
            if (first && second) {
                std::memcpy(o, &first, 2);
                std::memcpy(o + 2, &second, 2);
                o += 4;
                p += 6;
                continue;
            }
        }
        if (*p < 0x80) {
            *o++ = char(*p++);
            continue;
        }
        const quint16 one = (w & kOneMask) == kOneBits ? tables.threeByteCharacter(character(w)) : 0;
        if (!one)
            break;
        std::memcpy(o, &one, 2);
        o += 2;
        p += 3;
    }
    out = o;
    return p;
}

} // namespace

QString decodeGb18030(QByteArrayView bytes, bool* wellFormed)
{
    QString text(bytes.size(), Qt::Uninitialized);  // no character takes more units than bytes
    QChar* out = text.data();
    const bool allFormed = decodeUnits(bytes, [&](char16_t unit) { *out++ = QChar(unit); });
    text.truncate(out - text.constData());
    if (wellFormed)
        *wellFormed = allFormed;
    return text;
}

char* writeUtf8FromGb18030(char* out, QByteArrayView bytes)
{
    char16_t high = 0;  // a high surrogate waiting for its partner
    decodeUnits(bytes, [&](char16_t unit) {
        if (QChar::isHighSurrogate(unit)) {
            if (high)
                out = putUtf8(out, kReplacement);
            high = unit;
            return;
        }
        char32_t c = unit;
        if (high && QChar::isLowSurrogate(unit))
            c = QChar::surrogateToUcs4(high, unit);
        else if (high)
            out = putUtf8(out, kReplacement);
        else if (QChar::isLowSurrogate(unit))
            c = kReplacement;
        high = 0;
        out = putUtf8(out, c);
    });
    if (high)
        out = putUtf8(out, kReplacement);
    return out;
}

char* writeGb18030(char* out, QStringView text)
{
    const TwoByteTables& tables = TwoByteTables::instance();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!QChar::isSurrogate(c)) {
            out = putGb18030(out, c, tables);
        } else {
            const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size()
                              && text[i + 1].isLowSurrogate();
            out = converter<QStringEncoder>().appendToBuffer(out, text.sliced(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
        }
    }
    return out;
}

char* writeGb18030FromUtf8(char* out, QByteArrayView utf8)
{
    const TwoByteTables& tables = TwoByteTables::instance();
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const uchar* const end = p + utf8.size();
    while (p < end) {
        p = encodeCommonRun(p, end, out, tables);
        if (p == end)
            break;
        if (*p < 0x80) {
            *out++ = char(*p++);
            continue;
        }
        const Utf8Character read = readUtf8(p, end);
        if (read.length == 0)
            return nullptr;
        p += read.length;
        if (read.c < 0x10000) {
            out = putGb18030(out, char16_t(read.c), tables);
        } else {
            const char16_t pair[2] = {QChar::highSurrogate(read.c), QChar::lowSurrogate(read.c)};
            out = converter<QStringEncoder>().appendToBuffer(out, QStringView(pair, 2));
        }
    }
    return out;
}

} // namespace textfile
