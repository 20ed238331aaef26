#pragma once
#include "framework/CString.h"
#include <cstdint>

// Document flags (m_docFlags): the byte-order mark a file had when loaded, or the one
// a new file is to get when saved.
enum : int32_t {
    XMLDOC_UTF16LE_BOM = 0x1,
    XMLDOC_UTF8_BOM = 0x4,
    XMLDOC_UTF16BE_BOM = 0x80,
};

// High bits of XmlElementPos::levelFlags; the low 16 bits hold the depth.
enum : uint32_t {
    ELEM_LEVEL_MASK = 0xFFFF,
    ELEM_FIRST = 0x80000,
    ELEM_UNENDED = 0x100000,
    ELEM_ILL_CONTENT = 0x200000,
    DOC_ILL_FORMED = 0x800000,
};

enum XmlNodeKind : int {
    XML_NODE_END_TAG = 0,
    XML_NODE_ELEMENT = 1,
    XML_NODE_TEXT = 2,
    XML_NODE_WHITESPACE = 4,
    XML_NODE_CDATA = 8,
    XML_NODE_PI = 16,
    XML_NODE_COMMENT = 32,
    XML_NODE_DOCTYPE = 64,
    XML_NODE_ERROR = -1,
    XML_NODE_END = -2,
};

// One element of the position tree. Offsets and lengths count characters of the
// document text; tag lengths are full 32-bit fields so long tags cannot overflow.
struct XmlElementPos {
    int32_t start;          // offset of the '<' of the start tag
    int32_t length;         // from the '<' of the start tag to the '>' of the end tag
    int32_t startTagLength;
    int32_t endTagLength;   // 0 for an empty-element tag or an unended element
    uint32_t levelFlags;    // depth in the low 16 bits, ELEM_* flags above
    int32_t parent;         // 0 for a top-level element
    int32_t firstChild;
    int32_t nextSibling;
    int32_t prevSibling;    // on a first child: the last child of the parent
};

// One node found by the scanner. The tag name is not copied: it is the range
// nameStart/nameLength of the scanned text. message is set only for XML_NODE_ERROR.
struct XmlNodeInfo {
    int32_t start = 0;
    int32_t length = 0;
    int kind = XML_NODE_END;
    bool emptyElement = false;  // start tag ending in "/>"
    int32_t nameStart = 0;
    int32_t nameLength = 0;
    CString message;
};

// The XML document: one wide text plus a tree of element positions into it.
// A position is (block << 16) | entry; position 0 is the document itself.
class CXmlDoc {
public:
    CXmlDoc();
    ~CXmlDoc();
    CXmlDoc(const CXmlDoc&) = delete;
    CXmlDoc& operator=(const CXmlDoc&) = delete;

    // Replaces the text (null = empty), forgets the encoding of any loaded file and its
    // byte-order-mark flags, and parses. Result: HasSingleRoot.
    bool SetDocText(const wchar_t* text);
    bool ParseDocument();
    bool HasSingleRoot() const;

    // Reads a file with encoding detection and parses it; true only when it read and has
    // exactly one root and no parse error. The file is opened with every sharing, so
    // reading never keeps a save from replacing it.
    bool LoadFile(const wchar_t* path);
    // Writes the whole text in the encoding it was loaded in (or the one the flags or
    // its declaration name); the old file is replaced only once the new one is complete.
    // A target that cannot be replaced for a short while (another program holds it) is
    // written in place instead. true only when the file holds the whole text; on false
    // the old file is as it was.
    bool SaveFile(const wchar_t* path);

    bool FindElement(const wchar_t* name = nullptr);
    bool FindChildNode(const wchar_t* name = nullptr);
    bool EnterNode();
    bool LeaveNode();
    void RewindChildren();
    // Nothing current, at the document level (as right after a parse).
    void ResetNavigation();

    CString GetChildText() const;
    CString GetTextAt(int32_t pos) const;
    CString GetChildAttribute(const wchar_t* name) const;
    CString GetAttributeAt(int32_t pos, const wchar_t* name) const;
    CString GetTagNameAt(int32_t pos) const;

    bool SetTextAt(int32_t pos, const wchar_t* text);
    bool SetTextAt(int32_t pos, int32_t number);
    bool AddElement(const wchar_t* name, const wchar_t* text = nullptr);
    bool AddElement(const wchar_t* name, int32_t number);

    const CString& GetDocText() const { return m_text; }
    const CString& GetLog() const { return m_log; }
    // The encoding name the text was read in by the last LoadFile ("" when none).
    const CString& GetLoadedEncoding() const { return m_loadedEncoding; }

    // The tree entry of a position, or null outside the used range.
    const XmlElementPos* PosAt(int32_t pos) const;
    int32_t UsedPosCount() const { return m_nextFreePos; }

    // Compares the tree with a fresh parse of the same text; empty when they agree,
    // otherwise a description of the first difference. Flags are compared only for a
    // document that parses cleanly.
    CString CheckTree() const;

    // One node of text[0..length) at offset; text[length] must be 0.
    static int ScanNode(const wchar_t* text, int32_t length, int32_t offset, XmlNodeInfo& node);

    // Navigation state, read by callers (a position from m_currentPos or m_childPos is
    // what they pass to SetTextAt) and set by callers that want a flag for a new file.
    int32_t m_parentPos = 0;
    int32_t m_currentPos = 0;
    int32_t m_childPos = 0;
    int32_t m_isElement = 0;
    int32_t m_docFlags = 0;

private:
    XmlElementPos& Pos(int32_t pos) { return m_posBlocks[pos >> 16][pos & 0xFFFF]; }
    const XmlElementPos& Pos(int32_t pos) const { return m_posBlocks[pos >> 16][pos & 0xFFFF]; }
    void ReservePositions(int32_t count);
    int32_t NewPos();
    void FreeBlocks();
    int32_t BuildElementTree();
    void CloseUnended(int32_t pos);
    bool NameMatches(int32_t pos, const wchar_t* name) const;
    CString DecodedRange(int32_t start, int32_t length) const;
    void Splice(int32_t at, int32_t removeCount, const wchar_t* insert, int32_t insertCount);
    void ShiftAfter(int32_t pos, int32_t delta);
    void LinkAfter(int32_t parent, int32_t reference, int32_t pos);
    int32_t EndBoundary() const;

    CString m_text;
    CString m_log;
    int32_t m_nextFreePos = 1;
    XmlElementPos** m_posBlocks = nullptr;
    int32_t m_posCapacity = 0;
    int32_t m_blockListCapacity = 0;
    CString m_loadedEncoding;
    bool m_encodingKnown = false;  // m_loadedEncoding is set (an empty name: ANSI)
};

// Escapes element text: '<', '&' and '>' become references; nothing else changes.
CString EncodeEntities(const wchar_t* text);
