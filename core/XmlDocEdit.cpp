#include "core/XmlDoc.h"

CString EncodeEntities(const wchar_t* text)
{
    std::wstring out;
    if (!text) return CString();
    for (const wchar_t* p = text; *p; ++p) {
        switch (*p) {
        case L'<': out += L"&lt;"; break;
        case L'&': out += L"&amp;"; break;
        case L'>': out += L"&gt;"; break;
        default: out += *p; break;
        }
    }
    return CString(std::move(out));
}

// Replaces text[at, at + removeCount) by insert. A full buffer grows by half the needed
// length plus 128 characters, so a long run of small edits stays linear.
void CXmlDoc::Splice(int32_t at, int32_t removeCount, const wchar_t* insert, int32_t insertCount)
{
    std::wstring& s = m_text.str();
    size_t needed = s.size() - removeCount + insertCount;
    if (needed > s.capacity()) s.reserve(needed + needed / 2 + 128);
    s.replace(at, removeCount, insert, insertCount);
}

// Moves every element after pos (following siblings of pos and of each enclosing
// element, with everything inside them) by delta, and grows the enclosing elements.
void CXmlDoc::ShiftAfter(int32_t pos, int32_t delta)
{
    if (delta == 0) return;
    for (int32_t node = pos; node; node = Pos(node).parent) {
        for (int32_t s = Pos(node).nextSibling; s; s = Pos(s).nextSibling) {
            int32_t p = s;
            for (;;) {
                Pos(p).start += delta;
                if (Pos(p).firstChild) { p = Pos(p).firstChild; continue; }
                while (p != s && !Pos(p).nextSibling) p = Pos(p).parent;
                if (p == s) break;
                p = Pos(p).nextSibling;
            }
        }
        int32_t parent = Pos(node).parent;
        Pos(parent).length += delta;
    }
}

bool CXmlDoc::SetTextAt(int32_t pos, int32_t number)
{
    wchar_t buf[16];
    swprintf(buf, 16, L"%d", number);
    return SetTextAt(pos, buf);
}

bool CXmlDoc::SetTextAt(int32_t pos, const wchar_t* text)
{
    if (pos <= 0 || pos >= m_nextFreePos || Pos(pos).firstChild != 0) return false;
    CString content = EncodeEntities(text);
    XmlElementPos e = Pos(pos);
    int32_t delta;
    if (e.startTagLength == e.length) {
        // An empty-element tag gets its content and end tag in place of its '/'; an
        // element that lost its end tag gets them before its final '>'.
        CString name = GetTagNameAt(pos);
        CString insert = L">" + content + L"</" + name;
        bool unended = (e.levelFlags & ELEM_UNENDED) != 0;
        int32_t at = e.start + e.startTagLength - (unended ? 1 : 2);
        Splice(at, unended ? 0 : 1, insert.GetString(), insert.GetLength());
        delta = insert.GetLength() - (unended ? 0 : 1);
        Pos(pos).startTagLength = e.startTagLength - (unended ? 0 : 1);
        Pos(pos).endTagLength = name.GetLength() + 3;
    } else {
        int32_t at = e.start + e.startTagLength;
        int32_t old = e.length - e.startTagLength - e.endTagLength;
        Splice(at, old, content.GetString(), content.GetLength());
        delta = content.GetLength() - old;
    }
    Pos(pos).length = e.length + delta;
    Pos(pos).levelFlags &= ~(ELEM_UNENDED | ELEM_ILL_CONTENT);
    ShiftAfter(pos, delta);
    return true;
}

bool CXmlDoc::AddElement(const wchar_t* name, int32_t number)
{
    wchar_t buf[16];
    swprintf(buf, 16, L"%d", number);
    return AddElement(name, buf);
}

// Links pos into parent's children after reference (0: as the last child).
void CXmlDoc::LinkAfter(int32_t parent, int32_t reference, int32_t pos)
{
    XmlElementPos& e = Pos(pos);
    e.parent = parent;
    int32_t first = Pos(parent).firstChild;
    if (first == 0) {
        Pos(parent).firstChild = pos;
        e.levelFlags |= ELEM_FIRST;
        e.prevSibling = pos;
        return;
    }
    if (reference == 0) reference = Pos(first).prevSibling;
    int32_t next = Pos(reference).nextSibling;
    e.prevSibling = reference;
    e.nextSibling = next;
    Pos(reference).nextSibling = pos;
    if (next) Pos(next).prevSibling = pos;
    else Pos(first).prevSibling = pos;
}

// The end of the text, or the start of a malformed node that runs to the end (an
// unterminated comment, tag or the like), which would swallow anything put after it.
int32_t CXmlDoc::EndBoundary() const
{
    const wchar_t* t = m_text.GetString();
    int32_t len = m_text.GetLength();
    int32_t off = 0;
    if (int32_t first = Pos(0).firstChild) {
        const XmlElementPos& last = Pos(Pos(first).prevSibling);
        off = last.start + last.length;
    }
    XmlNodeInfo node;
    while (ScanNode(t, len, off, node) != XML_NODE_END && node.length > 0) {
        if (node.kind == XML_NODE_ERROR && off + node.length >= len) return off;
        off += node.length;
    }
    return len;
}

// A name the scanner reads back as the same whole tag name.
static bool IsValidTagName(const wchar_t* name)
{
    if (!name || !*name) return false;
    wchar_t c = name[0];
    if (!((c >= L'A' && c <= L'Z') || c == L':' || c == L'_' || c >= L'a')) return false;
    for (const wchar_t* p = name; *p; ++p) {
        switch (*p) {
        case L' ': case L'\t': case L'\n': case L'\r': case L'/': case L'>': case L'<':
        case L'"': case L'\'': case L'=': case L'&':
            return false;
        }
    }
    return true;
}

bool CXmlDoc::AddElement(const wchar_t* name, const wchar_t* text)
{
    // A name that would not read back as one tag would break the tree: refused.
    if (!IsValidTagName(name)) return false;
    CString tag = name;
    CString markup;
    int32_t startTagLength, endTagLength;
    if (text && *text) {
        markup = L"<" + tag + L">" + EncodeEntities(text) + L"</" + tag + L">";
        startTagLength = tag.GetLength() + 2;
        endTagLength = tag.GetLength() + 3;
    } else {
        markup = L"<" + tag + L"/>";
        startTagLength = markup.GetLength();
        endTagLength = 0;
    }
    int32_t elementLength = markup.GetLength();
    markup += L"\r\n";

    int32_t reference = m_currentPos;
    int32_t parent = reference ? Pos(reference).parent : m_parentPos;
    const wchar_t* t = m_text.GetString();
    int32_t len = m_text.GetLength();
    CString insert;
    int32_t at, removed = 0, elementOffset;
    bool split = false;
    int32_t parentNameLength = 0;
    if (reference == 0 && parent != 0 && Pos(parent).startTagLength == Pos(parent).length) {
        // The parent <p/> becomes <p>, a line break, the new element, </p>.
        split = true;
        const XmlElementPos& p = Pos(parent);
        bool unended = (p.levelFlags & ELEM_UNENDED) != 0;
        at = p.start + p.startTagLength - (unended ? 1 : 2);
        removed = unended ? 0 : 1;
        parentNameLength = GetTagNameAt(parent).GetLength();
        insert = L">\r\n" + markup + L"</" + GetTagNameAt(parent);
        elementOffset = 3;
    } else {
        bool emptyParent = false;
        if (reference) {
            at = Pos(reference).start + Pos(reference).length;
        } else if (parent) {
            const XmlElementPos& p = Pos(parent);
            emptyParent = p.length == p.startTagLength + p.endTagLength;
            at = emptyParent ? p.start + p.startTagLength : p.start + p.length - p.endTagLength;
        } else {
            at = EndBoundary();
        }
        int32_t q = at;
        while (q < len && (t[q] == L' ' || t[q] == L'\t' || t[q] == L'\n' || t[q] == L'\r')) ++q;
        if (q >= len || t[q] == L'<') at = q;
        insert = emptyParent ? L"\r\n" + markup : markup;
        elementOffset = emptyParent ? 2 : 0;
    }
    Splice(at, removed, insert.GetString(), insert.GetLength());
    int32_t delta = insert.GetLength() - removed;

    int32_t pos = NewPos();
    XmlElementPos& e = Pos(pos);
    e.start = at + elementOffset;
    e.length = elementLength;
    e.startTagLength = startTagLength;
    e.endTagLength = endTagLength;
    e.levelFlags = parent ? ((Pos(parent).levelFlags & ELEM_LEVEL_MASK) + 1) & ELEM_LEVEL_MASK : 0;
    LinkAfter(parent, reference, pos);
    // The new element is linked, so the walk finds exactly what follows it; it also
    // grows the parent, whose tags are then set right when it was split.
    ShiftAfter(pos, delta);
    if (split) {
        XmlElementPos& p = Pos(parent);
        p.startTagLength -= removed;
        p.endTagLength = parentNameLength + 3;
        p.levelFlags &= ~ELEM_UNENDED;
    }

    m_currentPos = pos;
    m_childPos = 0;
    m_isElement = 1;
    return true;
}
