#include "cli/ArgumentBytes.h"

namespace quillet {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

/// The length of the well-formed UTF-8 sequence at the start of bytes and its code point, or 0
/// when it is not one (overlong forms, surrogates and values past U+10FFFF are not).
std::size_t sequenceAt(std::string_view bytes, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || surrogate || codePoint > 0x10FFFF ? 0 : length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

QString argumentText(std::string_view bytes) {
    QString text;
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        std::size_t length = sequenceAt(bytes, codePoint);
        if (length == 0) {
            codePoint = kEscapeBase + static_cast<unsigned char>(bytes.front());
            length = 1;
        }
        // Appended unit by unit: a conversion from UCS-4 would replace the lone surrogates.
        if (QChar::requiresSurrogates(codePoint)) {
            text.append(QChar(QChar::highSurrogate(codePoint)));
            text.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            text.append(QChar(static_cast<char16_t>(codePoint)));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

std::string argumentBytes(const QString& text) {
    std::string bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text.at(i + 1)));
            ++i;
        } else if (unit.unicode() >= kEscapeBase + 0x80 && unit.unicode() <= kEscapeBase + 0xFF) {
            bytes.push_back(static_cast<char>(unit.unicode() - kEscapeBase));
        } else {
            appendUtf8(bytes, unit.isSurrogate() ? U'\uFFFD' : char32_t{unit.unicode()});
        }
    }
    return bytes;
}

}  // namespace quillet
