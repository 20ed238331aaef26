#include "core/XmlDoc.h"
#include "core/XmlEncoding.h"
#include <cstring>
#include <vector>

namespace {

const int32_t kBlockEntries = 0x10000;

inline bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

// The scanner's end of a tag name: white space, '/' or '>'.
inline bool EndsScanName(wchar_t c) { return IsSpace(c) || c == L'/' || c == L'>' || c == 0; }

// The end of a name token when matching requested names.
inline bool EndsToken(wchar_t c)
{
    switch (c) {
    case 0: case L' ': case L'\t': case L'\n': case L'\r':
    case L'<': case L'>': case L'=': case L'\\': case L'/': case L'?': case L'!':
    case L'"': case L'\'': case L';':
        return true;
    default:
        return false;
    }
}

// True when name matches the token at p (which runs at most to end): the name's first
// characters equal the token and the name ends there or goes on with ' ', '=', '/', '[', ']'.
bool TokenMatches(const wchar_t* p, const wchar_t* end, const wchar_t* name)
{
    if (!name || !*name) return true;
    const wchar_t* n = name;
    while (p < end && !EndsToken(*p)) {
        if (*n != *p) return false;
        ++n;
        ++p;
    }
    return *n == 0 || *n == L' ' || *n == L'=' || *n == L'/' || *n == L'[' || *n == L']';
}

// Finds the two- or three-character terminator from p; returns the offset after it or -1.
int32_t FindTerminator(const wchar_t* t, int32_t len, int32_t from, const wchar_t* term, int32_t termLen)
{
    for (int32_t i = from; i + termLen <= len; ++i) {
        if (t[i] == term[0] && wmemcmp(t + i, term, termLen) == 0) return i + termLen;
    }
    return -1;
}

int ScanError(XmlNodeInfo& node, int32_t length, const wchar_t* what, bool unterminated)
{
    node.kind = XML_NODE_ERROR;
    node.length = length;
    if (unterminated) node.message.Format(L"%ls at offset %d unterminated", what, node.start);
    else node.message.Format(L"Incorrect %ls at offset %d", what, node.start);
    return XML_NODE_ERROR;
}

// A malformed node runs to the next '>' (inclusive) or to the end of the text.
int32_t ToNextClose(const wchar_t* t, int32_t len, int32_t from)
{
    const wchar_t* q = (const wchar_t*)wmemchr(t + from, L'>', len - from);
    return q ? (int32_t)(q - t) + 1 : len;
}

} // namespace

CXmlDoc::CXmlDoc()
{
    ParseDocument();
}

CXmlDoc::~CXmlDoc()
{
    FreeBlocks();
}

void CXmlDoc::FreeBlocks()
{
    int32_t blocks = (m_posCapacity + kBlockEntries - 1) / kBlockEntries;
    for (int32_t b = 0; b < blocks; ++b) delete[] m_posBlocks[b];
    delete[] m_posBlocks;
    m_posBlocks = nullptr;
    m_posCapacity = 0;
    m_blockListCapacity = 0;
}

// Grows the tree to hold count entries; only the last, partly filled block is ever moved.
void CXmlDoc::ReservePositions(int32_t count)
{
    if (count <= m_posCapacity) return;
    if (m_posCapacity % kBlockEntries != 0) {
        int32_t last = m_posCapacity / kBlockEntries;
        int32_t oldSize = m_posCapacity - last * kBlockEntries;
        int32_t newSize = count - last * kBlockEntries;
        if (newSize > kBlockEntries) newSize = kBlockEntries;
        XmlElementPos* block = new XmlElementPos[newSize];
        memcpy(block, m_posBlocks[last], sizeof(XmlElementPos) * oldSize);
        delete[] m_posBlocks[last];
        m_posBlocks[last] = block;
        m_posCapacity = last * kBlockEntries + newSize;
    }
    while (m_posCapacity < count) {
        int32_t index = m_posCapacity / kBlockEntries;
        if (index >= m_blockListCapacity) {
            int32_t cap = m_blockListCapacity * 2 + 4;
            XmlElementPos** list = new XmlElementPos*[cap];
            for (int32_t i = 0; i < index; ++i) list[i] = m_posBlocks[i];
            delete[] m_posBlocks;
            m_posBlocks = list;
            m_blockListCapacity = cap;
        }
        int32_t size = count - m_posCapacity;
        if (size > kBlockEntries) size = kBlockEntries;
        m_posBlocks[index] = new XmlElementPos[size];
        m_posCapacity += size;
    }
}

int32_t CXmlDoc::NewPos()
{
    if (m_nextFreePos >= m_posCapacity) {
        int64_t grown = (int64_t)m_nextFreePos + m_nextFreePos / 2 + 1;
        if (grown > 0x7FFF0000) grown = 0x7FFF0000;
        ReservePositions((int32_t)grown);
    }
    int32_t pos = m_nextFreePos++;
    memset(&Pos(pos), 0, sizeof(XmlElementPos));
    return pos;
}

const XmlElementPos* CXmlDoc::PosAt(int32_t pos) const
{
    if (pos < 0 || pos >= m_nextFreePos) return nullptr;
    return &Pos(pos);
}

void CXmlDoc::ResetNavigation()
{
    m_parentPos = 0;
    m_currentPos = 0;
    m_childPos = 0;
    m_isElement = 0;
}

bool CXmlDoc::SetDocText(const wchar_t* text)
{
    m_text = text ? text : L"";
    m_log.Empty();
    m_docFlags &= ~(XMLDOC_UTF16LE_BOM | XMLDOC_UTF8_BOM | XMLDOC_UTF16BE_BOM);
    m_loadedEncoding.Empty();
    m_encodingKnown = false;
    return ParseDocument();
}

bool CXmlDoc::HasSingleRoot() const
{
    const XmlElementPos& doc = Pos(0);
    return doc.firstChild != 0 && Pos(doc.firstChild).nextSibling == 0 && !(doc.levelFlags & DOC_ILL_FORMED);
}

bool CXmlDoc::ParseDocument()
{
    ResetNavigation();
    m_nextFreePos = 1;
    int64_t room = (int64_t)m_text.GetLength() / 64 + 8;
    ReservePositions((int32_t)(room > 0x7FFF0000 ? 0x7FFF0000 : room));
    memset(&Pos(0), 0, sizeof(XmlElementPos));

    CString before = m_log;
    m_log.Empty();
    if (m_text.IsEmpty()) {
        m_log = L"Empty document";
    } else {
        int32_t first = BuildElementTree();
        Pos(0).length = m_text.GetLength();
        if (first == 0) {
            m_log = L"No root element";
        } else {
            Pos(0).firstChild = first;
            if (Pos(first).nextSibling != 0) m_log = L"Root element has sibling";
        }
    }
    ResetNavigation();
    if (!before.IsEmpty()) m_log = m_log.IsEmpty() ? before : before + L" " + m_log;
    return HasSingleRoot();
}

int CXmlDoc::ScanNode(const wchar_t* t, int32_t len, int32_t off, XmlNodeInfo& node)
{
    node.start = off;
    node.emptyElement = false;
    node.nameStart = 0;
    node.nameLength = 0;
    if (!node.message.IsEmpty()) node.message.Empty();
    if (off >= len) {
        node.length = 0;
        node.kind = XML_NODE_END;
        return XML_NODE_END;
    }
    const wchar_t* p = t + off;
    const wchar_t* end = t + len;
    if (*p != L'<') {
        const wchar_t* q = p;
        while (q < end && IsSpace(*q)) ++q;
        node.kind = XML_NODE_WHITESPACE;
        if (q < end && *q != L'<') {
            node.kind = XML_NODE_TEXT;
            const wchar_t* lt = (const wchar_t*)wmemchr(q, L'<', end - q);
            q = lt ? lt : end;
        }
        node.length = (int32_t)(q - p);
        return node.kind;
    }

    wchar_t c = p[1];
    if ((c >= L'A' && c <= L'Z') || c == L':' || c == L'_' || c >= L'a') {
        const wchar_t* q = p + 1;
        while (!EndsScanName(*q)) ++q;
        node.nameStart = off + 1;
        node.nameLength = (int32_t)(q - p - 1);
        // The tag ends at the first '>' outside a quoted value.
        wchar_t quote = 0;
        for (; q < end; ++q) {
            wchar_t ch = *q;
            if (quote) {
                if (ch == quote) quote = 0;
            } else if (ch == L'>') {
                break;
            } else if (ch == L'"' || ch == L'\'') {
                quote = ch;
            }
        }
        if (q >= end) return ScanError(node, len - off, L"Element tag", true);
        node.length = (int32_t)(q - p) + 1;
        node.kind = XML_NODE_ELEMENT;
        if (q[-1] == L'/' && q - 1 > p + 1) {
            wchar_t before = q[-2];
            if (q - 1 == p + 1 + node.nameLength || IsSpace(before) || before == L'"' || before == L'\'')
                node.emptyElement = true;
        }
        return XML_NODE_ELEMENT;
    }
    if (c == L'/') {
        const wchar_t* q = p + 2;
        while (!EndsScanName(*q)) ++q;
        node.nameStart = off + 2;
        node.nameLength = (int32_t)(q - p - 2);
        const wchar_t* gt = (const wchar_t*)wmemchr(q, L'>', end - q);
        if (!gt) return ScanError(node, len - off, L"Element end tag", true);
        node.length = (int32_t)(gt - p) + 1;
        node.kind = XML_NODE_END_TAG;
        return XML_NODE_END_TAG;
    }
    if (c == L'?') {
        int32_t e = FindTerminator(t, len, off + 2, L"?>", 2);
        if (e < 0) return ScanError(node, len - off, L"Processing instruction", true);
        node.length = e - off;
        node.kind = XML_NODE_PI;
        return XML_NODE_PI;
    }
    if (c == L'!') {
        wchar_t d = p[2];
        if (d == L'-') {
            if (p[3] != L'-') return ScanError(node, ToNextClose(t, len, off + 3) - off, L"comment tag", false);
            int32_t e = FindTerminator(t, len, off + 4, L"-->", 3);
            if (e < 0) return ScanError(node, len - off, L"Comment", true);
            node.length = e - off;
            node.kind = XML_NODE_COMMENT;
            return XML_NODE_COMMENT;
        }
        if (d == L'[' && p[3] == L'C') {
            int32_t e = FindTerminator(t, len, off + 3, L"]]>", 3);
            if (e < 0) return ScanError(node, len - off, L"CDATA Section", true);
            node.length = e - off;
            node.kind = XML_NODE_CDATA;
            return XML_NODE_CDATA;
        }
        if (d == L'D') {
            // The internal subset's declarations, comments and quoted values are skipped.
            const wchar_t* q = p + 2;
            bool subset = false;
            wchar_t quote = 0;
            for (; q < end; ++q) {
                wchar_t ch = *q;
                if (quote) {
                    if (ch == quote) quote = 0;
                } else if (ch == L'"' || ch == L'\'') {
                    quote = ch;
                } else if (!subset) {
                    if (ch == L'[') subset = true;
                    else if (ch == L'>') break;
                } else if (ch == L']') {
                    subset = false;
                } else if (ch == L'<') {
                    int32_t at = (int32_t)(q - t);
                    int32_t e;
                    if (q + 3 < end && q[1] == L'!' && q[2] == L'-' && q[3] == L'-')
                        e = FindTerminator(t, len, at + 4, L"-->", 3);
                    else if (q[1] == L'?')
                        e = FindTerminator(t, len, at + 2, L"?>", 2);
                    else {
                        // A markup declaration: ends at '>' outside quotes.
                        const wchar_t* r = q + 1;
                        wchar_t dq = 0;
                        for (; r < end; ++r) {
                            if (dq) { if (*r == dq) dq = 0; }
                            else if (*r == L'"' || *r == L'\'') dq = *r;
                            else if (*r == L'>') break;
                        }
                        e = r < end ? (int32_t)(r - t) + 1 : -1;
                    }
                    if (e < 0) { q = end; break; }
                    q = t + e - 1;
                }
            }
            if (q >= end) return ScanError(node, len - off, L"Doctype", true);
            node.length = (int32_t)(q - p) + 1;
            node.kind = XML_NODE_DOCTYPE;
            return XML_NODE_DOCTYPE;
        }
        if (d == L'E' || d == L'A' || d == L'N') {
            const wchar_t* gt = (const wchar_t*)wmemchr(p + 2, L'>', end - p - 2);
            if (!gt) return ScanError(node, len - off, L"tag", true);
            node.length = (int32_t)(gt - p) + 1;
            node.kind = XML_NODE_DOCTYPE;
            return XML_NODE_DOCTYPE;
        }
        return ScanError(node, ToNextClose(t, len, off + 2) - off, L"! tag", false);
    }
    return ScanError(node, ToNextClose(t, len, off + 1) - off, L"tag name character", false);
}

// True when the element at pos is named exactly the scanned name text[nameStart, +nameLength).
static bool SameScanName(const wchar_t* t, int32_t elemStart, int32_t nameStart, int32_t nameLength)
{
    const wchar_t* a = t + elemStart + 1;
    if (wmemcmp(a, t + nameStart, nameLength) != 0) return false;
    return EndsScanName(a[nameLength]);
}

// Closes the unended elements stack[from..] (outermost first). Each one keeps only its
// start tag, and its children move up to follow it under its parent; moving the
// outermost first touches every moved element once.
void CXmlDoc::CloseUnended(int32_t pos)
{
    XmlElementPos& e = Pos(pos);
    int32_t parent = e.parent;
    e.length = e.startTagLength;
    e.endTagLength = 0;
    e.levelFlags |= ELEM_UNENDED;
    if (e.levelFlags & ELEM_ILL_CONTENT) {
        e.levelFlags &= ~ELEM_ILL_CONTENT;
        if (parent) Pos(parent).levelFlags |= ELEM_ILL_CONTENT;
    }
    Pos(0).levelFlags |= DOC_ILL_FORMED;
    int32_t first = e.firstChild;
    if (first == 0) return;
    int32_t last = Pos(first).prevSibling;
    for (int32_t c = first; c; c = Pos(c).nextSibling) Pos(c).parent = parent;
    Pos(first).levelFlags &= ~ELEM_FIRST;
    Pos(first).prevSibling = pos;
    e.firstChild = 0;
    e.nextSibling = first;
    // The unended element was its parent's last child (it was still open).
    Pos(Pos(parent).firstChild).prevSibling = last;
}

int32_t CXmlDoc::BuildElementTree()
{
    const wchar_t* t = m_text.GetString();
    int32_t len = m_text.GetLength();
    std::vector<int32_t> stack;
    stack.reserve(6);
    bool reparented = false;
    XmlNodeInfo node;
    int32_t off = 0;

    auto setError = [&](const CString& message) {
        Pos(0).levelFlags |= DOC_ILL_FORMED;
        if (!stack.empty()) Pos(stack.back()).levelFlags |= ELEM_ILL_CONTENT;
        if (m_log.IsEmpty()) m_log = message;
    };
    // Closes stack[from..] as unended, logging the mismatch first.
    auto closeUnendedFrom = [&](size_t from) {
        for (size_t i = from; i < stack.size(); ++i) {
            if (Pos(stack[i]).firstChild) reparented = true;
            CloseUnended(stack[i]);
        }
        stack.resize(from);
    };

    for (;;) {
        int kind = ScanNode(t, len, off, node);
        if (kind == XML_NODE_END) break;
        if (kind == XML_NODE_ELEMENT) {
            int32_t parent = stack.empty() ? 0 : stack.back();
            int32_t pos = NewPos();
            XmlElementPos& e = Pos(pos);
            e.start = node.start;
            e.startTagLength = node.length;
            e.length = node.length;
            e.levelFlags = (uint32_t)stack.size() & ELEM_LEVEL_MASK;
            e.parent = parent;
            XmlElementPos& p = Pos(parent);
            if (p.firstChild == 0) {
                p.firstChild = pos;
                e.levelFlags |= ELEM_FIRST;
                e.prevSibling = pos;
            } else {
                XmlElementPos& first = Pos(p.firstChild);
                int32_t last = first.prevSibling;
                Pos(last).nextSibling = pos;
                e.prevSibling = last;
                first.prevSibling = pos;
            }
            if (!node.emptyElement) stack.push_back(pos);
        } else if (kind == XML_NODE_END_TAG) {
            size_t i = stack.size();
            while (i > 0 && !SameScanName(t, Pos(stack[i - 1]).start, node.nameStart, node.nameLength)) --i;
            if (i == 0) {
                CString m;
                m.Format(L"No start tag for end tag '%ls' at offset %d",
                         CString(t + node.nameStart, node.nameLength).GetString(), node.start);
                setError(m);
            } else {
                int32_t pos = stack[i - 1];
                if (i < stack.size() && m_log.IsEmpty()) {
                    const XmlElementPos& inner = Pos(stack.back());
                    CString m;
                    m.Format(L"End tag '%ls' at offset %d does not match start tag '%ls' at offset %d",
                             CString(t + node.nameStart, node.nameLength).GetString(), node.start,
                             GetTagNameAt(stack.back()).GetString(), inner.start);
                    m_log = m;
                }
                closeUnendedFrom(i);
                XmlElementPos& e = Pos(pos);
                e.length = node.start + node.length - e.start;
                e.endTagLength = node.length;
                stack.pop_back();
            }
        } else if (kind == XML_NODE_ERROR) {
            setError(node.message);
        }
        off += node.length;
    }
    if (!stack.empty()) {
        if (m_log.IsEmpty()) {
            m_log.Format(L"Element '%ls' at offset %d not ended", GetTagNameAt(stack.back()).GetString(),
                         Pos(stack.back()).start);
        }
        closeUnendedFrom(0);
    }
    if (reparented) {
        // Moved elements and their descendants take the depth of their new place; a
        // parent always has a lower position than its children.
        for (int32_t pos = 1; pos < m_nextFreePos; ++pos) {
            XmlElementPos& e = Pos(pos);
            uint32_t level = e.parent ? (Pos(e.parent).levelFlags & ELEM_LEVEL_MASK) + 1 : 0;
            e.levelFlags = (e.levelFlags & ~ELEM_LEVEL_MASK) | (level & ELEM_LEVEL_MASK);
        }
    }
    return Pos(0).firstChild;
}

CString CXmlDoc::GetTagNameAt(int32_t pos) const
{
    if (pos <= 0 || pos >= m_nextFreePos) return CString();
    const XmlElementPos& e = Pos(pos);
    const wchar_t* p = m_text.GetString() + e.start + 1;
    const wchar_t* end = m_text.GetString() + e.start + e.startTagLength;
    const wchar_t* q = p;
    while (q < end && !EndsScanName(*q)) ++q;
    return CString(p, (int)(q - p));
}

bool CXmlDoc::NameMatches(int32_t pos, const wchar_t* name) const
{
    const XmlElementPos& e = Pos(pos);
    const wchar_t* p = m_text.GetString() + e.start + 1;
    return TokenMatches(p, m_text.GetString() + e.start + e.startTagLength, name);
}

bool CXmlDoc::FindElement(const wchar_t* name)
{
    int32_t p = m_currentPos ? Pos(m_currentPos).nextSibling : Pos(m_parentPos).firstChild;
    for (; p; p = Pos(p).nextSibling) {
        if (NameMatches(p, name)) {
            m_currentPos = p;
            m_parentPos = Pos(p).parent;
            m_childPos = 0;
            m_isElement = 1;
            return true;
        }
    }
    return false;
}

bool CXmlDoc::FindChildNode(const wchar_t* name)
{
    if (m_currentPos == 0) FindElement(nullptr);
    // No element at this level: searching the document's children instead would jump
    // out of the entered element to the top level.
    if (m_currentPos == 0) return false;
    int32_t c = m_childPos ? Pos(m_childPos).nextSibling : Pos(m_currentPos).firstChild;
    for (; c; c = Pos(c).nextSibling) {
        if (NameMatches(c, name)) {
            m_childPos = c;
            m_currentPos = Pos(c).parent;
            m_parentPos = Pos(m_currentPos).parent;
            return true;
        }
    }
    return false;
}

bool CXmlDoc::EnterNode()
{
    if (m_currentPos == 0 || m_isElement != 1) return false;
    m_parentPos = m_currentPos;
    m_currentPos = m_childPos;
    m_childPos = 0;
    m_isElement = m_currentPos != 0;
    return true;
}

bool CXmlDoc::LeaveNode()
{
    if (m_parentPos == 0) return false;
    m_childPos = m_currentPos;
    m_currentPos = m_parentPos;
    m_parentPos = Pos(m_currentPos).parent;
    m_isElement = 1;
    return true;
}

void CXmlDoc::RewindChildren()
{
    m_childPos = 0;
    m_isElement = m_currentPos != 0;
}

CString CXmlDoc::GetChildText() const
{
    return GetTextAt(m_childPos);
}

CString CXmlDoc::GetChildAttribute(const wchar_t* name) const
{
    return GetAttributeAt(m_childPos, name);
}

CString CXmlDoc::DecodedRange(int32_t start, int32_t length) const
{
    std::wstring out;
    AppendDecodedReferences(out, m_text.GetString() + start, length);
    return CString(std::move(out));
}

CString CXmlDoc::GetTextAt(int32_t pos) const
{
    if (pos <= 0 || pos >= m_nextFreePos) return CString();
    const XmlElementPos& e = Pos(pos);
    if (e.firstChild != 0 || e.startTagLength >= e.length) return CString();
    int32_t start = e.start + e.startTagLength;
    int32_t end = e.start + e.length - e.endTagLength;
    const wchar_t* t = m_text.GetString();
    if (end <= start) return CString();
    if (!wmemchr(t + start, L'<', end - start)) return DecodedRange(start, end - start);

    std::wstring out;
    XmlNodeInfo node;
    int32_t len = m_text.GetLength();
    for (int32_t off = start; off < end; off += node.length) {
        int kind = ScanNode(t, len, off, node);
        if (kind == XML_NODE_END || node.length <= 0) break;
        int32_t nodeEnd = off + node.length < end ? off + node.length : end;
        if (kind == XML_NODE_TEXT || kind == XML_NODE_WHITESPACE) {
            AppendDecodedReferences(out, t + off, nodeEnd - off);
        } else if (kind == XML_NODE_CDATA && off + node.length <= end) {
            int32_t inner = off + 9;
            int32_t innerEnd = off + node.length - 3;
            if (innerEnd > inner) out.append(t + inner, innerEnd - inner);
        }
    }
    return CString(std::move(out));
}

CString CXmlDoc::GetAttributeAt(int32_t pos, const wchar_t* name) const
{
    if (pos <= 0 || pos >= m_nextFreePos) return CString();
    const XmlElementPos& e = Pos(pos);
    const wchar_t* t = m_text.GetString();
    const wchar_t* p = t + e.start + 1;
    const wchar_t* end = t + e.start + e.startTagLength;
    while (p < end && !EndsScanName(*p)) ++p;
    while (p < end) {
        wchar_t c = *p;
        if (IsSpace(c) || c == L'/') { ++p; continue; }
        if (c == L'>') break;
        if (c == L'"' || c == L'\'') {
            // A stray quoted value without a name: skip it whole.
            const wchar_t* q = p + 1;
            while (q < end && *q != c) ++q;
            p = q + 1;
            continue;
        }
        const wchar_t* nameStart = p;
        while (p < end && !IsSpace(*p) && *p != L'=' && *p != L'>' && *p != L'/' && *p != L'"' && *p != L'\'') ++p;
        if (p == nameStart) { ++p; continue; }
        const wchar_t* q = p;
        while (q < end && IsSpace(*q)) ++q;
        const wchar_t* valueStart = q;
        const wchar_t* valueEnd = q;
        if (q < end && *q == L'=') {
            ++q;
            while (q < end && IsSpace(*q)) ++q;
            if (q < end && (*q == L'"' || *q == L'\'')) {
                wchar_t quote = *q;
                valueStart = ++q;
                while (q < end && *q != quote) ++q;
                valueEnd = q;
                if (q < end) ++q;
            } else {
                valueStart = q;
                while (q < end && !IsSpace(*q) && *q != L'>') ++q;
                valueEnd = q;
            }
            p = q;
        }
        if (TokenMatches(nameStart, end, name) && name && *name)
            return DecodedRange((int32_t)(valueStart - t), (int32_t)(valueEnd - valueStart));
    }
    return CString();
}

CString CXmlDoc::CheckTree() const
{
    CString problem;
    auto fail = [&](const wchar_t* what, int32_t pos) {
        problem.Format(L"%ls (position %d)", what, pos);
    };
    CXmlDoc fresh;
    fresh.SetDocText(m_text);
    if (Pos(0).length != m_text.GetLength()) { fail(L"document length differs from the text", 0); return problem; }
    bool clean = !(Pos(0).levelFlags & DOC_ILL_FORMED);
    if (clean && (fresh.Pos(0).levelFlags & DOC_ILL_FORMED)) { fail(L"fresh parse is ill-formed", 0); return problem; }

    // Walk both trees in document order.
    int32_t a = Pos(0).firstChild, b = fresh.Pos(0).firstChild;
    int32_t visited = 0;
    while (a || b) {
        if (!a || !b) { fail(!a ? L"element missing from the tree" : L"extra element in the tree", a ? a : b); return problem; }
        if (++visited >= m_nextFreePos) { fail(L"cycle in the tree", a); return problem; }
        const XmlElementPos& x = Pos(a);
        const XmlElementPos& y = fresh.Pos(b);
        if (x.start != y.start) { fail(L"start differs", a); return problem; }
        if (x.length != y.length) { fail(L"length differs", a); return problem; }
        if (x.startTagLength != y.startTagLength) { fail(L"start-tag length differs", a); return problem; }
        if (x.endTagLength != y.endTagLength) { fail(L"end-tag length differs", a); return problem; }
        uint32_t mask = clean ? 0xFFFFFFFFu : (ELEM_LEVEL_MASK | ELEM_FIRST);
        if ((x.levelFlags & mask) != (y.levelFlags & mask)) { fail(L"level or flags differ", a); return problem; }
        const XmlElementPos& parent = Pos(x.parent);
        if (x.parent < 0 || x.parent >= m_nextFreePos) { fail(L"parent out of range", a); return problem; }
        bool isFirst = parent.firstChild == a;
        if (isFirst != ((x.levelFlags & ELEM_FIRST) != 0)) { fail(L"first-child flag wrong", a); return problem; }
        if (isFirst) {
            int32_t last = a;
            while (Pos(last).nextSibling) last = Pos(last).nextSibling;
            if (x.prevSibling != last) { fail(L"first child does not name the last child", a); return problem; }
        }
        if (x.nextSibling && Pos(x.nextSibling).prevSibling != a) { fail(L"sibling links disagree", a); return problem; }
        if (x.nextSibling && Pos(x.nextSibling).parent != x.parent) { fail(L"siblings have different parents", a); return problem; }
        if (x.firstChild && Pos(x.firstChild).parent != a) { fail(L"child names another parent", a); return problem; }
        // Next in document order.
        if (x.firstChild || y.firstChild) {
            if (!x.firstChild || !y.firstChild) { fail(L"children differ", a); return problem; }
            a = x.firstChild;
            b = y.firstChild;
            continue;
        }
        while (a && !Pos(a).nextSibling) {
            if (!b || fresh.Pos(b).nextSibling) { fail(L"sibling count differs", a); return problem; }
            a = Pos(a).parent;
            b = fresh.Pos(b).parent;
        }
        if (!a || !b) {
            if (a || b) { fail(L"tree depth differs", a); return problem; }
            break;
        }
        if (!fresh.Pos(b).nextSibling) { fail(L"sibling count differs", a); return problem; }
        a = Pos(a).nextSibling;
        b = fresh.Pos(b).nextSibling;
    }
    if (visited != m_nextFreePos - 1) { fail(L"unreachable positions", visited); return problem; }

    // Navigation stays inside the tree and its links agree.
    auto valid = [&](int32_t p) { return p >= 0 && p < m_nextFreePos; };
    if (!valid(m_parentPos) || !valid(m_currentPos) || !valid(m_childPos)) { fail(L"navigation out of range", m_currentPos); return problem; }
    if (m_currentPos && Pos(m_currentPos).parent != m_parentPos) { fail(L"current element is not under the parent", m_currentPos); return problem; }
    if (m_childPos && Pos(m_childPos).parent != m_currentPos) { fail(L"child is not under the current element", m_childPos); return problem; }
    return problem;
}
