#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Encodings of XML files: byte-order marks, the declared encoding, UTF-8 detection,
// code pages by name, and conversion between file bytes and the wide document text.
// Document flags (docFlags) are the XMLDOC_* byte-order-mark flags of core/XmlDoc.h.

// Code pages used by name here. 0 is the ANSI code page (CP_ACP).
enum : unsigned {
    XML_CP_ANSI = 0,
    XML_CP_UTF16LE = 1200,
    XML_CP_UTF16BE = 1201,
    XML_CP_UTF8 = 65001,
    XML_CP_UTF32 = 65005,   // private: UTF-32LE, converted by hand
};

// One byte-order mark.
struct XmlBom {
    unsigned char bytes[3];
    int length;
    const wchar_t* name;    // "UTF-8", "UTF-16LE", "UTF-16BE"
    int flag;               // XMLDOC_UTF8_BOM, XMLDOC_UTF16LE_BOM, XMLDOC_UTF16BE_BOM
    int unitWidth;          // bytes per unit: 1 or 2
};

// The marks in the order they are tried (UTF-8, UTF-16LE, UTF-16BE).
extern const XmlBom g_xmlBoms[3];

// The mark the data starts with, or null.
const XmlBom* MatchBom(const unsigned char* data, size_t size);
// The first mark whose flag is set in docFlags (order UTF-8, UTF-16LE, UTF-16BE), or null.
const XmlBom* BomFromFlags(int docFlags);

// The encoding a document was read in, kept so that a save writes the same encoding.
struct XmlEncodingInfo {
    bool fromFile = false;  // the text was decoded from a file's bytes
    std::wstring name;      // the name it was decoded as ("UTF-8", "UTF-16LE", "UTF-16BE",
                            // a declared name); empty: the ANSI code page
};

// The code page of an encoding name: "UTF-32..." gives XML_CP_UTF32, a known charset
// name (any ASCII case) its code page, an empty or unknown name XML_CP_ANSI.
unsigned CodePageFromName(const wchar_t* name);
// As CodePageFromName, but also knows the mark names "UTF-16LE" and "UTF-16BE".
unsigned CodePageOfEncoding(const std::wstring& name);

// The encoding declared in a text: the encoding attribute of an xml processing
// instruction before any tag, or the charset of an HTML meta Content-Type inside the
// head of an html document. False when nothing is declared.
bool FindDeclaredEncoding(const wchar_t* text, size_t length, std::wstring& name);
// The same on the first bytes of a file, read as UTF-8.
bool FindDeclaredEncodingInBytes(const unsigned char* data, size_t size, std::wstring& name);

// True when the bytes are UTF-8 (ASCII passes; a 0 byte ends the test).
bool IsValidUtf8(const unsigned char* data, size_t size);

// Bytes of a code page to wide text, appended to out. UTF-8, UTF-16LE/BE and UTF-32 are
// converted by hand (undecodable sequences become '?'); other code pages by the system.
// False when the system cannot convert from that code page.
bool BytesToWide(unsigned codePage, const unsigned char* data, size_t size, std::wstring& out);
// Wide text to bytes of a code page, appended to out. charsLost is set when a character
// could not be held and became the code page's default character (or '?').
// False when the system cannot convert to that code page.
bool WideToBytes(unsigned codePage, const wchar_t* text, size_t length,
                 std::vector<unsigned char>& out, bool& charsLost);

// A whole file's bytes to the document text: byte-order mark, declared encoding, NUL
// removal, byte swapping, UTF-8 detection, conversion. Sets the mark's flag in docFlags
// (after clearing the three mark flags), records the encoding in info and appends the
// file report to report. False (text empty) when the bytes could not be converted.
bool DecodeFileBytes(const unsigned char* data, size_t size, std::wstring& text,
                     int& docFlags, XmlEncodingInfo& info, std::wstring& report);

// The document text to a whole file's bytes. A mark flag in docFlags chooses the mark and
// its encoding; otherwise a document read from a file keeps the encoding it was read in;
// otherwise the declared encoding, or UTF-8 for a text starting with '<', or ANSI.
// UTF-16 or UTF-32 named without a mark flag is written as UTF-16LE with a mark.
// False (out empty) when the text could not be converted.
bool EncodeFileBytes(const std::wstring& text, int docFlags, const XmlEncodingInfo& loaded,
                     std::vector<unsigned char>& out, std::wstring& report);

// The character of an HTML 4 entity name (or "apos"): the exact name first, then the
// name without regard to ASCII case. 0 when unknown.
unsigned LookupEntity(const wchar_t* name, int length);

// Appends text[0..length) to out with character and entity references decoded.
void AppendDecodedReferences(std::wstring& out, const wchar_t* text, int length);
std::wstring DecodeReferences(const wchar_t* text, int length);
