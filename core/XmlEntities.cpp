#include "core/XmlEncoding.h"
#include <algorithm>
#include <cwchar>

namespace {

struct Entity {
    const wchar_t* name;
    unsigned codePoint;
};

// The character entities of HTML 4 and "apos", sorted by name (ordinal).
const Entity kEntities[] = {
    {L"AElig", 198}, {L"Aacute", 193}, {L"Acirc", 194}, {L"Agrave", 192},
    {L"Alpha", 913}, {L"Aring", 197}, {L"Atilde", 195}, {L"Auml", 196},
    {L"Beta", 914}, {L"Ccedil", 199}, {L"Chi", 935}, {L"Dagger", 8225},
    {L"Delta", 916}, {L"ETH", 208}, {L"Eacute", 201}, {L"Ecirc", 202},
    {L"Egrave", 200}, {L"Epsilon", 917}, {L"Eta", 919}, {L"Euml", 203},
    {L"Gamma", 915}, {L"Iacute", 205}, {L"Icirc", 206}, {L"Igrave", 204},
    {L"Iota", 921}, {L"Iuml", 207}, {L"Kappa", 922}, {L"Lambda", 923},
    {L"Mu", 924}, {L"Ntilde", 209}, {L"Nu", 925}, {L"OElig", 338},
    {L"Oacute", 211}, {L"Ocirc", 212}, {L"Ograve", 210}, {L"Omega", 937},
    {L"Omicron", 927}, {L"Oslash", 216}, {L"Otilde", 213}, {L"Ouml", 214},
    {L"Phi", 934}, {L"Pi", 928}, {L"Prime", 8243}, {L"Psi", 936},
    {L"Rho", 929}, {L"Scaron", 352}, {L"Sigma", 931}, {L"THORN", 222},
    {L"Tau", 932}, {L"Theta", 920}, {L"Uacute", 218}, {L"Ucirc", 219},
    {L"Ugrave", 217}, {L"Upsilon", 933}, {L"Uuml", 220}, {L"Xi", 926},
    {L"Yacute", 221}, {L"Yuml", 376}, {L"Zeta", 918}, {L"aacute", 225},
    {L"acirc", 226}, {L"acute", 180}, {L"aelig", 230}, {L"agrave", 224},
    {L"alefsym", 8501}, {L"alpha", 945}, {L"amp", 38}, {L"and", 8743},
    {L"ang", 8736}, {L"apos", 39}, {L"aring", 229}, {L"asymp", 8776},
    {L"atilde", 227}, {L"auml", 228}, {L"bdquo", 8222}, {L"beta", 946},
    {L"brvbar", 166}, {L"bull", 8226}, {L"cap", 8745}, {L"ccedil", 231},
    {L"cedil", 184}, {L"cent", 162}, {L"chi", 967}, {L"circ", 710},
    {L"clubs", 9827}, {L"cong", 8773}, {L"copy", 169}, {L"crarr", 8629},
    {L"cup", 8746}, {L"curren", 164}, {L"dArr", 8659}, {L"dagger", 8224},
    {L"darr", 8595}, {L"deg", 176}, {L"delta", 948}, {L"diams", 9830},
    {L"divide", 247}, {L"eacute", 233}, {L"ecirc", 234}, {L"egrave", 232},
    {L"empty", 8709}, {L"emsp", 8195}, {L"ensp", 8194}, {L"epsilon", 949},
    {L"equiv", 8801}, {L"eta", 951}, {L"eth", 240}, {L"euml", 235},
    {L"euro", 8364}, {L"exist", 8707}, {L"fnof", 402}, {L"forall", 8704},
    {L"frac12", 189}, {L"frac14", 188}, {L"frac34", 190}, {L"frasl", 8260},
    {L"gamma", 947}, {L"ge", 8805}, {L"gt", 62}, {L"hArr", 8660},
    {L"harr", 8596}, {L"hearts", 9829}, {L"hellip", 8230}, {L"iacute", 237},
    {L"icirc", 238}, {L"iexcl", 161}, {L"igrave", 236}, {L"image", 8465},
    {L"infin", 8734}, {L"int", 8747}, {L"iota", 953}, {L"iquest", 191},
    {L"isin", 8712}, {L"iuml", 239}, {L"kappa", 954}, {L"lArr", 8656},
    {L"lambda", 955}, {L"lang", 9001}, {L"laquo", 171}, {L"larr", 8592},
    {L"lceil", 8968}, {L"ldquo", 8220}, {L"le", 8804}, {L"lfloor", 8970},
    {L"lowast", 8727}, {L"loz", 9674}, {L"lrm", 8206}, {L"lsaquo", 8249},
    {L"lsquo", 8216}, {L"lt", 60}, {L"macr", 175}, {L"mdash", 8212},
    {L"micro", 181}, {L"middot", 183}, {L"minus", 8722}, {L"mu", 956},
    {L"nabla", 8711}, {L"nbsp", 160}, {L"ndash", 8211}, {L"ne", 8800},
    {L"ni", 8715}, {L"not", 172}, {L"notin", 8713}, {L"nsub", 8836},
    {L"ntilde", 241}, {L"nu", 957}, {L"oacute", 243}, {L"ocirc", 244},
    {L"oelig", 339}, {L"ograve", 242}, {L"oline", 8254}, {L"omega", 969},
    {L"omicron", 959}, {L"oplus", 8853}, {L"or", 8744}, {L"ordf", 170},
    {L"ordm", 186}, {L"oslash", 248}, {L"otilde", 245}, {L"otimes", 8855},
    {L"ouml", 246}, {L"para", 182}, {L"part", 8706}, {L"permil", 8240},
    {L"perp", 8869}, {L"phi", 966}, {L"pi", 960}, {L"piv", 982},
    {L"plusmn", 177}, {L"pound", 163}, {L"prime", 8242}, {L"prod", 8719},
    {L"prop", 8733}, {L"psi", 968}, {L"quot", 34}, {L"rArr", 8658},
    {L"radic", 8730}, {L"rang", 9002}, {L"raquo", 187}, {L"rarr", 8594},
    {L"rceil", 8969}, {L"rdquo", 8221}, {L"real", 8476}, {L"reg", 174},
    {L"rfloor", 8971}, {L"rho", 961}, {L"rlm", 8207}, {L"rsaquo", 8250},
    {L"rsquo", 8217}, {L"sbquo", 8218}, {L"scaron", 353}, {L"sdot", 8901},
    {L"sect", 167}, {L"shy", 173}, {L"sigma", 963}, {L"sigmaf", 962},
    {L"sim", 8764}, {L"spades", 9824}, {L"sub", 8834}, {L"sube", 8838},
    {L"sum", 8721}, {L"sup", 8835}, {L"sup1", 185}, {L"sup2", 178},
    {L"sup3", 179}, {L"supe", 8839}, {L"szlig", 223}, {L"tau", 964},
    {L"there4", 8756}, {L"theta", 952}, {L"thetasym", 977}, {L"thinsp", 8201},
    {L"thorn", 254}, {L"tilde", 732}, {L"times", 215}, {L"trade", 8482},
    {L"uArr", 8657}, {L"uacute", 250}, {L"uarr", 8593}, {L"ucirc", 251},
    {L"ugrave", 249}, {L"uml", 168}, {L"upsih", 978}, {L"upsilon", 965},
    {L"uuml", 252}, {L"weierp", 8472}, {L"xi", 958}, {L"yacute", 253},
    {L"yen", 165}, {L"yuml", 255}, {L"zeta", 950}, {L"zwj", 8205},
    {L"zwnj", 8204},
};

const int kEntityCount = int(sizeof(kEntities) / sizeof(kEntities[0]));
const int kLongestName = 8;

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }

// <0, 0, >0 as name[0..length) sorts before, equal to, after the terminated key.
int CompareName(const wchar_t* name, int length, const wchar_t* key, bool fold)
{
    for (int i = 0; i < length; ++i) {
        wchar_t a = fold ? LowerAscii(name[i]) : name[i];
        wchar_t b = fold ? LowerAscii(key[i]) : key[i];
        if (!b || a != b)
            return !b ? 1 : (a < b ? -1 : 1);
    }
    return key[length] ? -1 : 0;
}

// Entity indexes sorted by the case-folded name; among names that fold alike the
// capitalised one comes first, so a name in an unusual case finds that one.
struct FoldedIndex {
    unsigned char order[kEntityCount];
    FoldedIndex()
    {
        for (int i = 0; i < kEntityCount; ++i)
            order[i] = (unsigned char)i;
        std::sort(order, order + kEntityCount, [](unsigned char a, unsigned char b) {
            const wchar_t* x = kEntities[a].name;
            int c = CompareName(x, int(wcslen(x)), kEntities[b].name, true);
            return c != 0 ? c < 0 : wcscmp(x, kEntities[b].name) < 0;
        });
    }
};

}  // namespace

unsigned LookupEntity(const wchar_t* name, int length)
{
    if (!name || length <= 0 || length > kLongestName)
        return 0;
    int lo = 0, hi = kEntityCount;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        int c = CompareName(name, length, kEntities[mid].name, false);
        if (c == 0)
            return kEntities[mid].codePoint;
        if (c < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    static const FoldedIndex folded;
    lo = 0;
    hi = kEntityCount;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (CompareName(name, length, kEntities[folded.order[mid]].name, true) > 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < kEntityCount && CompareName(name, length, kEntities[folded.order[lo]].name, true) == 0)
        return kEntities[folded.order[lo]].codePoint;
    return 0;
}

namespace {

// The character of the reference body between '&' and ';' (length 0..9), 0 when none.
unsigned ReferenceValue(const wchar_t* p, int length)
{
    if (length < 2 || p[0] != L'#')
        return LookupEntity(p, length);
    int i = 1;
    bool hex = p[1] == L'x' || p[1] == L'X';
    if (hex)
        ++i;
    if (i >= length)
        return 0;
    unsigned value = 0;
    for (; i < length; ++i) {
        wchar_t c = p[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9') digit = unsigned(c - L'0');
        else if (hex && c >= L'a' && c <= L'f') digit = unsigned(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F') digit = unsigned(c - L'A' + 10);
        else return 0;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF)
            return 0;  // no character: the reference stays literal
    }
    return value;
}

}  // namespace

void AppendDecodedReferences(std::wstring& out, const wchar_t* text, int length)
{
    if (!text || length <= 0)
        return;
    const wchar_t* p = text;
    const wchar_t* end = text + length;
    const wchar_t* amp = wmemchr(p, L'&', size_t(length));
    if (!amp) {
        out.append(p, size_t(length));
        return;
    }
    out.reserve(out.size() + size_t(length));
    while (amp) {
        out.append(p, size_t(amp - p));
        const wchar_t* body = amp + 1;
        const wchar_t* q = body;
        while (q < end && q - body < 10 && *q != L';' && *q < 0x80)
            ++q;
        unsigned value = 0;
        if (q < end && *q == L';' && q - body <= 9)
            value = ReferenceValue(body, int(q - body));
        if (value) {
            if (value > 0xFFFF) {
                value -= 0x10000;
                out += wchar_t(0xD800 + (value >> 10));
                out += wchar_t(0xDC00 + (value & 0x3FF));
            } else {
                out += wchar_t(value);
            }
            p = q + 1;
        } else {
            out += L'&';
            p = body;
        }
        amp = p < end ? wmemchr(p, L'&', size_t(end - p)) : nullptr;
    }
    out.append(p, size_t(end - p));
}

std::wstring DecodeReferences(const wchar_t* text, int length)
{
    std::wstring out;
    AppendDecodedReferences(out, text, length);
    return out;
}
