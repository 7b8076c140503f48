// Alias table of charset names, hashed by the sum of the folded name's codes.
#include "i18n/charset.h"

#include <array>

namespace mv {
namespace {

constexpr CharsetAlias kAliases[] = {
    {"ibm037", 37}, {"cp037", 37}, {"ebcdic-cp-us", 37}, {"ebcdic-cp-ca", 37}, {"ebcdic-cp-wt", 37},
    {"ebcdic-cp-nl", 37}, {"csibm037", 37},
    {"ibm420", 420}, {"cp420", 420}, {"ebcdic-cp-ar1", 420}, {"csibm420", 420},
    {"ibm437", 437}, {"cp437", 437}, {"437", 437}, {"cspc8codepage437", 437},
    {"asmo-708", 708}, {"iso-8859-6-i", 708},
    {"dos-720", 720},
    {"ibm737", 737}, {"cp737", 737},
    {"ibm775", 775}, {"cp775", 775},
    {"ibm850", 850}, {"cp850", 850}, {"850", 850},
    {"ibm852", 852}, {"cp852", 852},
    {"ibm857", 857}, {"cp857", 857},
    {"ibm861", 861}, {"cp861", 861},
    {"dos-862", 862}, {"ibm862", 862}, {"cp862", 862},
    {"cp866", 866}, {"ibm866", 866}, {"866", 866},
    {"ibm869", 869}, {"cp869", 869},
    {"ibm870", 870}, {"cp870", 870},
    {"windows-874", 874}, {"dos-874", 874}, {"tis-620", 874}, {"iso-8859-11", 874},
    {"cp875", 875},
    {"shift_jis", 932}, {"shift-jis", 932}, {"ms_kanji", 932}, {"x-sjis", 932}, {"sjis", 932},
    {"csshiftjis", 932}, {"cswindows31j", 932}, {"windows-31j", 932}, {"x-ms-cp932", 932}, {"cp932", 932},
    {"gb2312", 936}, {"gbk", 936}, {"chinese", 936}, {"cp936", 936}, {"csgb2312", 936},
    {"gb_2312-80", 936}, {"iso-ir-58", 936}, {"csiso58gb231280", 936}, {"x-gbk", 936}, {"windows-936", 936},
    {"ks_c_5601-1987", 949}, {"euc-kr", 949}, {"korean", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1989", 949},
    {"ksc_5601", 949}, {"ksc5601", 949}, {"iso-ir-149", 949}, {"csksc56011987", 949}, {"cp949", 949},
    {"big5", 950}, {"cn-big5", 950}, {"x-x-big5", 950}, {"csbig5", 950}, {"big5-hkscs", 950}, {"cp950", 950},
    {"ibm1026", 1026}, {"cp1026", 1026}, {"csibm1026", 1026},
    {"ibm01140", 1140}, {"ccsid01140", 1140}, {"cp01140", 1140}, {"ebcdic-us-37+euro", 1140},
    {"ibm01142", 1142}, {"ccsid01142", 1142}, {"cp01142", 1142}, {"ebcdic-dk-277+euro", 1142},
    {"ibm01143", 1143}, {"ccsid01143", 1143}, {"cp01143", 1143}, {"ebcdic-fi-278+euro", 1143},
    {"ibm01144", 1144}, {"ccsid01144", 1144}, {"cp01144", 1144}, {"ebcdic-it-280+euro", 1144},
    {"ibm01145", 1145}, {"ccsid01145", 1145}, {"cp01145", 1145}, {"ebcdic-es-284+euro", 1145},
    {"ibm01146", 1146}, {"ccsid01146", 1146}, {"cp01146", 1146}, {"ebcdic-gb-285+euro", 1146},
    {"ibm01147", 1147}, {"ccsid01147", 1147}, {"cp01147", 1147}, {"ebcdic-fr-297+euro", 1147},
    {"ibm01148", 1148}, {"ccsid01148", 1148}, {"cp01148", 1148}, {"ebcdic-international-500+euro", 1148},
    {"ibm01149", 1149}, {"ccsid01149", 1149}, {"cp01149", 1149}, {"ebcdic-is-871+euro", 1149},
    {"utf-16", 1200}, {"unicode", 1200}, {"ucs-2", 1200}, {"iso-10646-ucs-2", 1200},
    {"unicodefffe", 1201},
    {"windows-1250", 1250}, {"x-cp1250", 1250}, {"cp1250", 1250},
    {"windows-1251", 1251}, {"x-cp1251", 1251}, {"cp1251", 1251},
    {"windows-1252", 1252}, {"x-ansi", 1252}, {"us", 1252}, {"iso-ir-6", 1252}, {"cp1252", 1252},
    {"windows-1253", 1253}, {"cp1253", 1253},
    {"windows-1254", 1254}, {"cp1254", 1254},
    {"windows-1255", 1255}, {"cp1255", 1255},
    {"windows-1256", 1256}, {"cp1256", 1256},
    {"windows-1257", 1257}, {"cp1257", 1257},
    {"windows-1258", 1258}, {"cp1258", 1258},
    {"johab", 1361},
    {"macintosh", 10000}, {"mac", 10000}, {"x-mac-roman", 10000},
    {"x-mac-japanese", 10001}, {"x-mac-chinesetrad", 10002}, {"x-mac-korean", 10003},
    {"x-mac-arabic", 10004}, {"x-mac-hebrew", 10005}, {"x-mac-greek", 10006}, {"x-mac-cyrillic", 10007},
    {"x-mac-chinesesimp", 10008}, {"x-mac-ce", 10029}, {"x-mac-icelandic", 10079},
    {"x-mac-turkish", 10081},
    {"x-chinese-cns", 20000}, {"x-chinese-eten", 20002},
    {"x-ia5", 20105}, {"x-ia5-german", 20106}, {"x-ia5-swedish", 20107}, {"x-ia5-norwegian", 20108},
    {"us-ascii", 20127}, {"ascii", 20127}, {"iso646-us", 20127}, {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127}, {"cp367", 20127}, {"csascii", 20127}, {"ibm367", 20127},
    {"iso_646.irv:1991", 20127},
    {"ibm273", 20273}, {"ibm277", 20277}, {"ibm278", 20278}, {"ibm280", 20280}, {"ibm284", 20284},
    {"ibm285", 20285}, {"ibm290", 20290}, {"ibm423", 20423}, {"ibm424", 20424},
    {"x-ebcdic-koreanextended", 20833}, {"ibm-thai", 20838},
    {"koi8-r", 20866}, {"koi8", 20866}, {"koi", 20866}, {"cskoi8r", 20866}, {"koi8r", 20866},
    {"x-cp20873", 20873}, {"ibm880", 20880}, {"ibm905", 20905}, {"cp1025", 21025},
    {"koi8-u", 21866}, {"koi8-ru", 21866},
    {"iso-8859-1", 28591}, {"latin1", 28591}, {"l1", 28591}, {"cp819", 28591}, {"iso_8859-1", 28591},
    {"iso-ir-100", 28591}, {"csisolatin1", 28591}, {"ibm819", 28591}, {"iso_8859-1:1987", 28591},
    {"iso-8859-2", 28592}, {"latin2", 28592}, {"l2", 28592}, {"iso_8859-2", 28592}, {"iso-ir-101", 28592},
    {"csisolatin2", 28592},
    {"iso-8859-3", 28593}, {"latin3", 28593}, {"l3", 28593}, {"iso-ir-109", 28593},
    {"iso-8859-4", 28594}, {"latin4", 28594}, {"l4", 28594}, {"iso-ir-110", 28594},
    {"iso-8859-5", 28595}, {"cyrillic", 28595}, {"iso-ir-144", 28595}, {"csisolatincyrillic", 28595},
    {"iso-8859-6", 28596}, {"arabic", 28596}, {"iso-ir-127", 28596}, {"ecma-114", 28596},
    {"iso-8859-7", 28597}, {"greek", 28597}, {"greek8", 28597}, {"iso-ir-126", 28597}, {"elot_928", 28597},
    {"iso-8859-8", 28598}, {"hebrew", 28598}, {"iso-ir-138", 28598}, {"visual", 28598},
    {"iso-8859-9", 28599}, {"latin5", 28599}, {"l5", 28599}, {"iso-ir-148", 28599},
    {"iso-8859-15", 28605}, {"latin-9", 28605}, {"latin9", 28605}, {"l9", 28605},
    {"x-europa", 29001},
    {"iso-8859-8-i", 38598}, {"logical", 38598},
    {"iso-2022-jp", 50220}, {"csiso2022jp", 50221}, {"x-cp50222", 50222},
    {"iso-2022-kr", 50225}, {"csiso2022kr", 50225},
    {"x-ebcdic-japanese", 50930}, {"x-ebcdic-koreanandkoreanextended", 50933},
    {"x-ebcdic-simplifiedchinese", 50935}, {"x-ebcdic-traditionalchinese", 50937},
    {"x-ebcdic-japaneseanduscanada", 50939},
    {"euc-jp", 51932}, {"x-euc-jp", 51932}, {"x-euc", 51932}, {"cseucpkdfmtjapanese", 51932},
    {"euc-cn", 51936}, {"x-euc-cn", 51936},
    {"cseuckr", 51949},
    {"hz-gb-2312", 52936},
    {"x-iscii-de", 57002}, {"x-iscii-be", 57003}, {"x-iscii-ta", 57004}, {"x-iscii-te", 57005},
    {"x-iscii-as", 57006}, {"x-iscii-or", 57007}, {"x-iscii-ka", 57008}, {"x-iscii-ma", 57009},
    {"x-iscii-gu", 57010}, {"x-iscii-pa", 57011},
    {"utf-7", 65000}, {"unicode-1-1-utf-7", 65000}, {"unicode-2-0-utf-7", 65000},
    {"x-unicode-1-1-utf-7", 65000}, {"x-unicode-2-0-utf-7", 65000}, {"csunicode11utf7", 65000},
    {"utf-8", 65001}, {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"x-unicode-2-0-utf-8", 65001}, {"utf8", 65001},
};
constexpr std::size_t kAliasCount = sizeof(kAliases) / sizeof(kAliases[0]);
constexpr std::size_t kBuckets = 150;
constexpr std::size_t kMaxName = 100;

constexpr std::size_t bucketOf(std::string_view name) {
    std::size_t sum = 0;
    for (char c : name) sum += static_cast<unsigned char>(c);
    return sum % kBuckets;
}

struct AliasHash {
    std::array<std::uint16_t, kBuckets + 1> first{};
    std::array<std::uint16_t, kAliasCount> order{};
    constexpr AliasHash() {
        std::array<std::uint16_t, kBuckets> count{};
        for (const CharsetAlias& a : kAliases) ++count[bucketOf(a.name)];
        for (std::size_t b = 0; b < kBuckets; ++b) first[b + 1] = static_cast<std::uint16_t>(first[b] + count[b]);
        std::array<std::uint16_t, kBuckets> fill{};
        for (std::size_t n = 0; n < kAliasCount; ++n) {
            const std::size_t b = bucketOf(kAliases[n].name);
            order[first[b] + fill[b]++] = static_cast<std::uint16_t>(n);
        }
    }
};
constexpr AliasHash kHash{};

}  // namespace

std::int32_t charsetCodePage(std::u16string_view name) {
    if (name.empty()) return 0;
    if (name.substr(0, 6) == u"UTF-32") return kCodePageUtf32;
    if (name.size() >= kMaxName) return -1;
    char folded[kMaxName];
    std::size_t sum = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c >= 'A' && c <= 'Z') c += 32;
        if (c >= 0x80) return -1;  // every alias is ASCII
        folded[i] = static_cast<char>(c);
        sum += c;
    }
    const std::string_view key(folded, name.size());
    const std::size_t b = sum % kBuckets;
    for (std::size_t k = kHash.first[b]; k < kHash.first[b + 1]; ++k)
        if (kAliases[kHash.order[k]].name == key) return kAliases[kHash.order[k]].codePage;
    return -1;
}

const CharsetAlias* charsetAliases(std::size_t& count) {
    count = kAliasCount;
    return kAliases;
}

}  // namespace mv
