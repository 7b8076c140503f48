// Character and entity references: the HTML 4 entity set plus apos.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/case_fold.h"
#include "i18n/markup_doc.h"

namespace mv {
namespace {

struct Entity {
    std::string_view name;
    std::uint16_t code;
};

constexpr Entity kEntities[] = {
    {"quot", 34}, {"amp", 38}, {"apos", 39}, {"lt", 60}, {"gt", 62},
    {"nbsp", 160}, {"iexcl", 161}, {"cent", 162}, {"pound", 163}, {"curren", 164}, {"yen", 165},
    {"brvbar", 166}, {"sect", 167}, {"uml", 168}, {"copy", 169}, {"ordf", 170}, {"laquo", 171},
    {"not", 172}, {"shy", 173}, {"reg", 174}, {"macr", 175}, {"deg", 176}, {"plusmn", 177},
    {"sup2", 178}, {"sup3", 179}, {"acute", 180}, {"micro", 181}, {"para", 182}, {"middot", 183},
    {"cedil", 184}, {"sup1", 185}, {"ordm", 186}, {"raquo", 187}, {"frac14", 188}, {"frac12", 189},
    {"frac34", 190}, {"iquest", 191}, {"Agrave", 192}, {"Aacute", 193}, {"Acirc", 194},
    {"Atilde", 195}, {"Auml", 196}, {"Aring", 197}, {"AElig", 198}, {"Ccedil", 199},
    {"Egrave", 200}, {"Eacute", 201}, {"Ecirc", 202}, {"Euml", 203}, {"Igrave", 204},
    {"Iacute", 205}, {"Icirc", 206}, {"Iuml", 207}, {"ETH", 208}, {"Ntilde", 209}, {"Ograve", 210},
    {"Oacute", 211}, {"Ocirc", 212}, {"Otilde", 213}, {"Ouml", 214}, {"times", 215},
    {"Oslash", 216}, {"Ugrave", 217}, {"Uacute", 218}, {"Ucirc", 219}, {"Uuml", 220},
    {"Yacute", 221}, {"THORN", 222}, {"szlig", 223}, {"agrave", 224}, {"aacute", 225},
    {"acirc", 226}, {"atilde", 227}, {"auml", 228}, {"aring", 229}, {"aelig", 230}, {"ccedil", 231},
    {"egrave", 232}, {"eacute", 233}, {"ecirc", 234}, {"euml", 235}, {"igrave", 236},
    {"iacute", 237}, {"icirc", 238}, {"iuml", 239}, {"eth", 240}, {"ntilde", 241}, {"ograve", 242},
    {"oacute", 243}, {"ocirc", 244}, {"otilde", 245}, {"ouml", 246}, {"divide", 247},
    {"oslash", 248}, {"ugrave", 249}, {"uacute", 250}, {"ucirc", 251}, {"uuml", 252},
    {"yacute", 253}, {"thorn", 254}, {"yuml", 255},
    {"OElig", 338}, {"oelig", 339}, {"Scaron", 352}, {"scaron", 353}, {"Yuml", 376}, {"fnof", 402},
    {"circ", 710}, {"tilde", 732},
    {"Alpha", 913}, {"Beta", 914}, {"Gamma", 915}, {"Delta", 916}, {"Epsilon", 917}, {"Zeta", 918},
    {"Eta", 919}, {"Theta", 920}, {"Iota", 921}, {"Kappa", 922}, {"Lambda", 923}, {"Mu", 924},
    {"Nu", 925}, {"Xi", 926}, {"Omicron", 927}, {"Pi", 928}, {"Rho", 929}, {"Sigma", 931},
    {"Tau", 932}, {"Upsilon", 933}, {"Phi", 934}, {"Chi", 935}, {"Psi", 936}, {"Omega", 937},
    {"alpha", 945}, {"beta", 946}, {"gamma", 947}, {"delta", 948}, {"epsilon", 949}, {"zeta", 950},
    {"eta", 951}, {"theta", 952}, {"iota", 953}, {"kappa", 954}, {"lambda", 955}, {"mu", 956},
    {"nu", 957}, {"xi", 958}, {"omicron", 959}, {"pi", 960}, {"rho", 961}, {"sigmaf", 962},
    {"sigma", 963}, {"tau", 964}, {"upsilon", 965}, {"phi", 966}, {"chi", 967}, {"psi", 968},
    {"omega", 969}, {"thetasym", 977}, {"upsih", 978}, {"piv", 982},
    {"ensp", 8194}, {"emsp", 8195}, {"thinsp", 8201}, {"zwnj", 8204}, {"zwj", 8205}, {"lrm", 8206},
    {"rlm", 8207}, {"ndash", 8211}, {"mdash", 8212}, {"lsquo", 8216}, {"rsquo", 8217},
    {"sbquo", 8218}, {"ldquo", 8220}, {"rdquo", 8221}, {"bdquo", 8222}, {"dagger", 8224},
    {"Dagger", 8225}, {"bull", 8226}, {"hellip", 8230}, {"permil", 8240}, {"prime", 8242},
    {"Prime", 8243}, {"lsaquo", 8249}, {"rsaquo", 8250}, {"oline", 8254}, {"frasl", 8260},
    {"euro", 8364}, {"image", 8465}, {"weierp", 8472}, {"real", 8476}, {"trade", 8482},
    {"alefsym", 8501}, {"larr", 8592}, {"uarr", 8593}, {"rarr", 8594}, {"darr", 8595},
    {"harr", 8596}, {"crarr", 8629}, {"lArr", 8656}, {"uArr", 8657}, {"rArr", 8658}, {"dArr", 8659},
    {"hArr", 8660}, {"forall", 8704}, {"part", 8706}, {"exist", 8707}, {"empty", 8709},
    {"nabla", 8711}, {"isin", 8712}, {"notin", 8713}, {"ni", 8715}, {"prod", 8719}, {"sum", 8721},
    {"minus", 8722}, {"lowast", 8727}, {"radic", 8730}, {"prop", 8733}, {"infin", 8734},
    {"ang", 8736}, {"and", 8743}, {"or", 8744}, {"cap", 8745}, {"cup", 8746}, {"int", 8747},
    {"there4", 8756}, {"sim", 8764}, {"cong", 8773}, {"asymp", 8776}, {"ne", 8800},
    {"equiv", 8801}, {"le", 8804}, {"ge", 8805}, {"sub", 8834}, {"sup", 8835}, {"nsub", 8836},
    {"sube", 8838}, {"supe", 8839}, {"oplus", 8853}, {"otimes", 8855}, {"perp", 8869},
    {"sdot", 8901}, {"lceil", 8968}, {"rceil", 8969}, {"lfloor", 8970}, {"rfloor", 8971},
    {"lang", 9001}, {"rang", 9002}, {"loz", 9674}, {"spades", 9824}, {"clubs", 9827},
    {"hearts", 9829}, {"diams", 9830},
};
constexpr std::size_t kEntityCount = sizeof(kEntities) / sizeof(kEntities[0]);
static_assert(kEntityCount == 253);

constexpr std::size_t kBuckets = 130;
constexpr std::size_t kMaxName = 9;


// Buckets keyed by the sum of the folded name's character codes; each bucket
// is a run of entity numbers, capitalised spellings before lower-case ones so
// that a case-blind match prefers them.
struct EntityHash {
    std::array<std::uint16_t, kBuckets + 1> first{};
    std::array<std::uint16_t, kEntityCount> order{};

    constexpr EntityHash() {
        std::array<std::uint16_t, kBuckets> count{};
        std::array<std::size_t, kEntityCount> bucket{};
        for (std::size_t n = 0; n < kEntityCount; ++n) {
            std::size_t sum = 0;
            for (char c : kEntities[n].name) sum += FoldAscii(static_cast<char16_t>(c));
            bucket[n] = sum % kBuckets;
            ++count[bucket[n]];
        }
        for (std::size_t b = 0; b < kBuckets; ++b) first[b + 1] = static_cast<std::uint16_t>(first[b] + count[b]);
        std::array<std::uint16_t, kBuckets> fill{};
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t n = 0; n < kEntityCount; ++n) {
                bool capital = false;
                for (char c : kEntities[n].name) capital |= (c >= 'A' && c <= 'Z');
                if (capital != (pass == 0)) continue;
                order[first[bucket[n]] + fill[bucket[n]]++] = static_cast<std::uint16_t>(n);
            }
    }
};
constexpr EntityHash kHash{};

std::uint32_t lookupEntity(const char16_t* name, std::size_t length) {
    std::size_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) sum += FoldAscii(name[i]);
    const std::size_t b = sum % kBuckets;
    std::uint32_t folded = 0;
    for (std::size_t k = kHash.first[b]; k < kHash.first[b + 1]; ++k) {
        const Entity& e = kEntities[kHash.order[k]];
        if (e.name.size() != length) continue;
        bool exact = true, blind = true;
        for (std::size_t i = 0; i < length && blind; ++i) {
            const char16_t c = static_cast<char16_t>(e.name[i]);
            exact &= (c == name[i]);
            blind &= (FoldAscii(c) == FoldAscii(name[i]));
        }
        if (exact) return e.code;
        if (blind && folded == 0) folded = e.code;
    }
    return folded;
}

void appendCodePoint(std::uint32_t cp, std::u16string& out) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Value of the reference whose name (between "&" and ";") is given; 0 when it is none.
std::uint32_t referenceValue(const char16_t* name, std::size_t length) {
    if (length == 0) return 0;
    if (name[0] != '#') return lookupEntity(name, length);
    std::uint32_t value = 0;
    std::size_t i = 1;
    if (i < length && FoldAscii(name[i]) == 'x') {
        for (++i; i < length; ++i) {
            const char16_t c = FoldAscii(name[i]);
            std::uint32_t digit;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else break;
            value = value * 16 + digit;
        }
    } else {
        for (; i < length && name[i] >= '0' && name[i] <= '9'; ++i) value = value * 10 + (name[i] - '0');
    }
    // Beyond Unicode or a lone surrogate: not a character, so no reference.
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return value;
}

}  // namespace

std::uint32_t entityCodePoint(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxName) return 0;
    return lookupEntity(name.data(), name.size());
}

void appendDecodedEntities(std::u16string_view text, std::u16string& out) {
    const char16_t* s = text.data();
    const std::size_t n = text.size();
    std::size_t copied = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] != '&') continue;
        std::size_t j = i + 1;
        const std::size_t limit = std::min(n, i + 2 + kMaxName);
        while (j < limit && s[j] != ';' && s[j] < 0x80) ++j;
        if (j >= limit || s[j] != ';') continue;
        const std::uint32_t value = referenceValue(s + i + 1, j - i - 1);
        if (value == 0) continue;
        out.append(s + copied, i - copied);
        appendCodePoint(value, out);
        copied = j + 1;
        i = j;
    }
    out.append(s + copied, n - copied);
}

std::u16string decodeEntities(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    appendDecodedEntities(text, out);
    return out;
}

}  // namespace mv
