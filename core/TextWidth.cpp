// Character width folding on code page 932 text: the HTML export widens
// half-width katakana, and text searching compares keys in which case, width
// and kana script no longer matter.
#include "core/Text.h"

// Full-width forms of the half-width katakana 0xA1..0xDF, punctuation and the
// two sound marks included.
static const uint16_t kWideKana[0xDF - 0xA1 + 1] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,  // ｡｢｣､･ｦｧｨ
    0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B,  // ｩｪｫｬｭｮｯｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E,  // ｱｲｳｴｵｶｷｸ
    0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E,  // ｹｺｻｼｽｾｿﾀ
    0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,          // ﾙﾚﾛﾜﾝﾞﾟ
};

// Full-width forms of the printable ASCII characters 0x21..0x7E, lower-case
// letters already folded to upper case. '"' and '\'' have no full-width form
// in the JIS rows; they take the code page's extension codes.
static const uint16_t kWideAscii[0x7E - 0x21 + 1] = {
    0x8149, 0xFA57, 0x8194, 0x8190, 0x8193, 0x8195, 0xFA56, 0x8169, 0x816A, 0x8196,  // !"#$%&'()*
    0x817B, 0x8143, 0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253,  // +,-./01234
    0x8254, 0x8255, 0x8256, 0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184,  // 56789:;<=>
    0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267,  // ?@ABCDEFGH
    0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271,  // IJKLMNOPQR
    0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D, 0x815F,  // STUVWXYZ[backslash
    0x816E, 0x814F, 0x8151, 0x814D, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265,  // ]^_`abcdef
    0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F,  // ghijklmnop
    0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279,  // qrstuvwxyz
    0x816F, 0x8162, 0x8170, 0x8160,                                                  // {|}~
};

constexpr uint16_t kWideSpace = 0x8140;
constexpr uint16_t kWideVu = 0x8394;  // ヴ, the voiced ウ
constexpr uint8_t kVoicedMark = 0xDE;
constexpr uint8_t kSemiVoicedMark = 0xDF;

static void AppendWide(std::string* out, uint16_t code) {
    *out += static_cast<char>(code >> 8);
    *out += static_cast<char>(code & 0xFF);
}

// Appends the full-width form of the half-width katakana at p, merged with a
// following voiced or semi-voiced mark. Returns the bytes used (1 or 2).
static size_t AppendWideKana(const uint8_t* p, std::string* out) {
    const uint8_t c = p[0];
    uint16_t wide = kWideKana[c - 0xA1];
    const bool voicable = (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE);  // ｶ..ﾄ, ﾊ..ﾎ
    const bool semiVoicable = c >= 0xCA && c <= 0xCE;                            // ﾊ..ﾎ
    size_t used = 1;
    if (p[1] == kVoicedMark && c == 0xB3) {
        wide = kWideVu;
        used = 2;
    } else if (p[1] == kVoicedMark && voicable) {
        wide += 1;
        used = 2;
    } else if (p[1] == kSemiVoicedMark && semiVoicable) {
        wide += 2;
        used = 2;
    }
    AppendWide(out, wide);
    return used;
}

static const char* HtmlEntity(char c) {
    switch (c) {
        case '"':
            return "&quot;";
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return nullptr;
    }
}

std::string HtmlEscape(const char* src, bool widenKana) {
    std::string out;
    const auto* p = reinterpret_cast<const uint8_t*>(src);
    while (*p != 0) {
        size_t n = CharBytes(reinterpret_cast<const char*>(p));
        const char* entity = HtmlEntity(static_cast<char>(*p));
        // The widening starts at ､ (0xA4): ｡｢｣ are punctuation every
        // Japanese font shows well at half width and are left as written.
        if (n == 1 && widenKana && *p >= 0xA4 && *p <= 0xDF) {
            n = AppendWideKana(p, &out);
        } else if (n == 1 && entity) {
            out += entity;
        } else {
            out.append(reinterpret_cast<const char*>(p), n);
        }
        p += n;
    }
    return out;
}

uint16_t UpperWide(uint16_t code) {
    if (code >= 0x8281 && code <= 0x829A) {  // ａ..ｚ
        return code - 0x21;
    }
    if (code >= 0x83BF && code <= 0x83D6) {  // α..ω
        return code - 0x20;
    }
    if (code >= 0x8470 && code <= 0x847E) {  // а..о
        return code - 0x30;
    }
    if (code >= 0x8480 && code <= 0x8491) {  // п..я: the lower case skips 0x847F
        return code - 0x31;
    }
    return code;
}

// The search form of a double-byte character: upper case (UpperWide), and
// hiragana (with its iteration marks) as katakana.
static uint16_t FoldWide(uint16_t code) {
    if (code >= 0x829F && code <= 0x82DD) {  // ぁ..み
        return code + 0xA1;
    }
    if (code >= 0x82DE && code <= 0x82F1) {  // む..ん: katakana skip 0x837F
        return code + 0xA2;
    }
    if (code == 0x8154 || code == 0x8155) {  // ゝゞ
        return code - 2;
    }
    return UpperWide(code);
}

std::string SearchKey(const char* src, bool keepSpace) {
    // Control bytes stay as they are; the space is widened only when it is
    // part of the key rather than the separator between words.
    const uint8_t lastKeptByte = keepSpace ? 0x1F : 0x20;
    std::string key;
    const auto* p = reinterpret_cast<const uint8_t*>(src);
    while (*p != 0) {
        const uint8_t c = *p;
        if (CharBytes(reinterpret_cast<const char*>(p)) == 2) {
            AppendWide(&key, FoldWide(static_cast<uint16_t>(c << 8 | p[1])));
            p += 2;
        } else if (IsHalfWidthKana(c)) {
            p += AppendWideKana(p, &key);
        } else if (c > lastKeptByte && c <= 0x7E) {
            AppendWide(&key, c == ' ' ? kWideSpace : kWideAscii[c - 0x21]);
            ++p;
        } else {
            key += static_cast<char>(c);
            ++p;
        }
    }
    return key;
}
