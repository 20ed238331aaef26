#pragma once
#include "core/XmlDoc.h"
#include <string>

inline std::wstring W(const CString& s) { return s.str(); }

// The tree in document order: name, then marks (!U unended, !I ill content, ^ first
// child) and the depth, children in braces, siblings separated by commas.
inline std::wstring DescribeTree(const CXmlDoc& doc)
{
    std::wstring out;
    const XmlElementPos* root = doc.PosAt(0);
    if (root->levelFlags & DOC_ILL_FORMED) out += L"[ill] ";
    struct Walk {
        static void Run(const CXmlDoc& d, int32_t first, std::wstring& o)
        {
            for (int32_t p = first; p; p = d.PosAt(p)->nextSibling) {
                const XmlElementPos* e = d.PosAt(p);
                if (p != first) o += L",";
                o += d.GetTagNameAt(p).str();
                if (e->levelFlags & ELEM_UNENDED) o += L"!U";
                if (e->levelFlags & ELEM_ILL_CONTENT) o += L"!I";
                o += std::to_wstring(e->levelFlags & ELEM_LEVEL_MASK);
                if (e->firstChild) {
                    o += L"{";
                    Run(d, e->firstChild, o);
                    o += L"}";
                }
            }
        }
    };
    Walk::Run(doc, root->firstChild, out);
    return out;
}
