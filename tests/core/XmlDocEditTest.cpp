#include "XmlDocTestSupport.h"
#include <gtest/gtest.h>

namespace {

const wchar_t kDecl[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

// Finds the first element of that name anywhere in the document (document order).
int32_t FindAnywhere(const CXmlDoc& doc, const wchar_t* name)
{
    for (int32_t p = 1; p < doc.UsedPosCount(); ++p)
        if (doc.GetTagNameAt(p) == name) return p;
    return 0;
}

} // namespace

TEST(XmlDocEdit, EncodeEntities)
{
    EXPECT_EQ(W(EncodeEntities(L"a<b>&c\"d'e")), L"a&lt;b&gt;&amp;c\"d'e");
    EXPECT_EQ(W(EncodeEntities(L"")), L"");
    EXPECT_EQ(W(EncodeEntities(nullptr)), L"");
}

TEST(XmlDocEdit, SetTextAt)
{
    struct Case {
        const wchar_t* doc;
        const wchar_t* element;
        const wchar_t* text;
        bool result;
        const wchar_t* after;
    };
    const Case cases[] = {
        {L"<a/>", L"a", L"x&y", true, L"<a>x&amp;y</a>"},
        {L"<a />", L"a", L"v", true, L"<a >v</a>"},
        {L"<a k=\"1\"/>", L"a", L"v", true, L"<a k=\"1\">v</a>"},
        {L"<a>old</a>", L"a", L"", true, L"<a></a>"},
        {L"<a>old</a  >", L"a", L"<new>", true, L"<a>&lt;new&gt;</a  >"},
        {L"<a><b/></a>", L"a", L"x", false, L"<a><b/></a>"},
        {L"<a>t<!--c--><![CDATA[d]]></a>", L"a", L"n", true, L"<a>n</a>"},
        {L"<a/>", L"a", L"\"'", true, L"<a>\"'</a>"},
        {L"<r><a/><b>2</b><c><d/></c></r>", L"a", L"1", true, L"<r><a>1</a><b>2</b><c><d/></c></r>"},
        {L"<r><a/><b>2</b><c><d/></c></r>", L"d", L"long text", true, L"<r><a/><b>2</b><c><d>long text</d></c></r>"},
        {L"<r><a></r>", L"a", L"x", true, L"<r><a>x</a></r>"},
        {L"<r><a x=1/></r>", L"a", L"x", true, L"<r><a x=1/>x</a></r>"},
        {L"<r><a></x></a></r>", L"a", L"ok", true, L"<r><a>ok</a></r>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.doc)));
        CXmlDoc doc;
        doc.SetDocText(c.doc);
        int32_t pos = FindAnywhere(doc, c.element);
        ASSERT_NE(pos, 0);
        EXPECT_EQ(doc.SetTextAt(pos, c.text), c.result);
        EXPECT_EQ(W(doc.GetDocText()), c.after);
        if (c.result) {
            EXPECT_EQ(W(doc.GetTextAt(pos)), std::wstring(c.text));
            EXPECT_FALSE(doc.PosAt(pos)->levelFlags & (ELEM_UNENDED | ELEM_ILL_CONTENT));
        }
        EXPECT_EQ(W(doc.CheckTree()), L"");
    }
}

TEST(XmlDocEdit, SetTextAtNumberKeepsNavigation)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><A>1</A><B/><C>3</C></root>"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindElement(L"B"));
    int32_t cur = doc.m_currentPos, parent = doc.m_parentPos;
    EXPECT_TRUE(doc.SetTextAt(doc.m_currentPos, -42));
    EXPECT_EQ(doc.m_currentPos, cur);
    EXPECT_EQ(doc.m_parentPos, parent);
    EXPECT_EQ(W(doc.GetDocText()), L"<root><A>1</A><B>-42</B><C>3</C></root>");
    ASSERT_TRUE(doc.FindElement(L"C"));
    EXPECT_EQ(W(doc.GetTextAt(doc.m_currentPos)), L"3");
    EXPECT_FALSE(doc.SetTextAt(0, L"x"));
    EXPECT_EQ(W(doc.CheckTree()), L"");
}

TEST(XmlDocEdit, NewDocumentLayout)
{
    CXmlDoc doc;
    doc.SetDocText(kDecl);
    std::wstring decl = kDecl;
    ASSERT_TRUE(doc.AddElement(L"root"));
    EXPECT_EQ(W(doc.GetDocText()), decl + L"<root/>\r\n");
    EXPECT_EQ(W(doc.CheckTree()), L"");
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(L"A", L"1"));
    EXPECT_EQ(W(doc.GetDocText()), decl + L"<root>\r\n<A>1</A>\r\n</root>\r\n");
    EXPECT_EQ(W(doc.CheckTree()), L"");
    ASSERT_TRUE(doc.AddElement(L"B", L"2"));
    EXPECT_EQ(W(doc.GetDocText()), decl + L"<root>\r\n<A>1</A>\r\n<B>2</B>\r\n</root>\r\n");
    EXPECT_EQ(W(doc.CheckTree()), L"");
    EXPECT_TRUE(doc.HasSingleRoot());
}

TEST(XmlDocEdit, NestedBuildLayout)
{
    CXmlDoc doc;
    doc.SetDocText(kDecl);
    doc.m_docFlags = XMLDOC_UTF16LE_BOM;
    ASSERT_TRUE(doc.AddElement(L"root"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(L"PROFILE_ID", 0));
    ASSERT_TRUE(doc.AddElement(L"PROFILE_1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(L"NAME", L"a<b"));
    ASSERT_TRUE(doc.AddElement(L"MACRO_1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(L"MACRO_NAME", L""));
    ASSERT_TRUE(doc.AddElement(L"MACRO_LOOP_COUNT", 3));
    ASSERT_TRUE(doc.LeaveNode());
    ASSERT_TRUE(doc.LeaveNode());
    ASSERT_TRUE(doc.AddElement(L"PROFILE_2"));
    EXPECT_EQ(W(doc.CheckTree()), L"");
    EXPECT_EQ(W(doc.GetDocText()), std::wstring(kDecl) +
              L"<root>\r\n"
              L"<PROFILE_ID>0</PROFILE_ID>\r\n"
              L"<PROFILE_1>\r\n"
              L"<NAME>a&lt;b</NAME>\r\n"
              L"<MACRO_1>\r\n"
              L"<MACRO_NAME/>\r\n"
              L"<MACRO_LOOP_COUNT>3</MACRO_LOOP_COUNT>\r\n"
              L"</MACRO_1>\r\n"
              L"</PROFILE_1>\r\n"
              L"<PROFILE_2/>\r\n"
              L"</root>\r\n");
    EXPECT_EQ(DescribeTree(doc), L"root0{PROFILE_ID1,PROFILE_11{NAME2,MACRO_12{MACRO_NAME3,MACRO_LOOP_COUNT3}},PROFILE_21}");
    // The built document reads back like a parsed one.
    ASSERT_TRUE(doc.SetDocText(CString(doc.GetDocText())));
    ASSERT_TRUE(doc.FindChildNode(L"PROFILE_1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindChildNode(L"NAME"));
    EXPECT_EQ(W(doc.GetChildText()), L"a<b");
}

TEST(XmlDocEdit, AddElementPlacement)
{
    struct Case {
        const wchar_t* doc;
        const wchar_t* reference;  // made current with FindElement under the root (null: none)
        const wchar_t* text;       // of the new element N
        const wchar_t* after;
    };
    const Case cases[] = {
        // After the reference, on the line after it.
        {L"<r>\r\n<a/>\r\n<b/>\r\n</r>", L"a", L"1", L"<r>\r\n<a/>\r\n<N>1</N>\r\n<b/>\r\n</r>"},
        {L"<r>\r\n<a/>\r\n</r>", L"a", L"0", L"<r>\r\n<a/>\r\n<N>0</N>\r\n</r>"},
        // Text right behind the reference keeps the new element right behind it.
        {L"<r><a/>tail<b/></r>", L"a", nullptr, L"<r><a/><N/>\r\ntail<b/></r>"},
        {L"<r><a/>  \t<b/></r>", L"a", nullptr, L"<r><a/>  \t<N/>\r\n<b/></r>"},
        // No reference: after the parent's last child, before its end tag.
        {L"<r>\r\n<a/>\r\n<b/>\r\n</r>", nullptr, L"x", L"<r>\r\n<a/>\r\n<b/>\r\n<N>x</N>\r\n</r>"},
        {L"<r>text</r>", nullptr, L"x", L"<r>text<N>x</N>\r\n</r>"},
        // An empty parent and an empty-element parent get a line break first.
        {L"<r></r>", nullptr, L"x", L"<r>\r\n<N>x</N>\r\n</r>"},
        {L"<r/>", nullptr, L"x", L"<r>\r\n<N>x</N>\r\n</r>"},
        {L"<r k='1' />", nullptr, nullptr, L"<r k='1' >\r\n<N/>\r\n</r>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.doc)));
        CXmlDoc doc;
        ASSERT_TRUE(doc.SetDocText(c.doc));
        ASSERT_TRUE(doc.FindElement(nullptr));
        ASSERT_TRUE(doc.EnterNode());
        if (c.reference) {
            ASSERT_TRUE(doc.FindElement(c.reference));
        }
        ASSERT_TRUE(doc.AddElement(L"N", c.text));
        EXPECT_EQ(W(doc.GetDocText()), c.after);
        EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"N");
        EXPECT_EQ(W(doc.GetTextAt(doc.m_currentPos)), std::wstring(c.text ? c.text : L""));
        EXPECT_EQ(doc.m_childPos, 0);
        EXPECT_EQ(doc.m_isElement, 1);
        EXPECT_EQ(W(doc.CheckTree()), L"");
        EXPECT_TRUE(doc.HasSingleRoot());
    }
}

TEST(XmlDocEdit, AddElementInRepairedDocuments)
{
    // A parent that lost its end tag is completed around the new element.
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(L"<r><p></r>"));
    ASSERT_TRUE(doc.FindChildNode(L"p"));
    ASSERT_TRUE(doc.EnterNode());  // current p
    ASSERT_TRUE(doc.EnterNode());  // inside p, nothing current
    ASSERT_TRUE(doc.AddElement(L"N", L"1"));
    EXPECT_EQ(W(doc.GetDocText()), L"<r><p>\r\n<N>1</N>\r\n</p></r>");
    EXPECT_EQ(W(doc.CheckTree()), L"");

    // After an unended reference the new element follows its start tag.
    CXmlDoc doc2;
    doc2.SetDocText(L"<r><p><q/></r>");
    ASSERT_TRUE(doc2.FindChildNode(L"p"));
    ASSERT_TRUE(doc2.EnterNode());  // current p under r
    ASSERT_TRUE(doc2.AddElement(L"N"));
    EXPECT_EQ(W(doc2.GetDocText()), L"<r><p><N/>\r\n<q/></r>");
    EXPECT_EQ(W(doc2.CheckTree()), L"");
}

TEST(XmlDocEdit, FindContinuesAfterTheNewElement)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<r>\r\n<A/>\r\n<C/>\r\n</r>\r\n"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindElement(L"A"));
    ASSERT_TRUE(doc.AddElement(L"B", L"b"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"C");
    ASSERT_TRUE(doc.SetTextAt(doc.m_currentPos, L"c"));
    EXPECT_EQ(W(doc.GetDocText()), L"<r>\r\n<A/>\r\n<B>b</B>\r\n<C>c</C>\r\n</r>\r\n");
    EXPECT_EQ(W(doc.CheckTree()), L"");
}

TEST(XmlDocEdit, AddElementAtDocumentLevelAndBadNames)
{
    CXmlDoc doc;
    doc.SetDocText(L"<r/>");
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.AddElement(L"s"));
    EXPECT_EQ(W(doc.GetDocText()), L"<r/><s/>\r\n");
    EXPECT_EQ(W(doc.CheckTree()), L"");
    for (const wchar_t* bad : {(const wchar_t*)nullptr, L"", L"a b", L"a>b", L"1a", L"a/b", L"<a"}) {
        EXPECT_FALSE(doc.AddElement(bad, L"x"));
    }
    EXPECT_EQ(W(doc.GetDocText()), L"<r/><s/>\r\n");

    // Text that ends inside an unterminated node: the new element goes in before that node,
    // where it reads back as an element.
    struct Case {
        const wchar_t* doc;
        const wchar_t* after;
    };
    const Case cases[] = {
        {L"<r/>\r\n<!-- open", L"<r/>\r\n<N/>\r\n<!-- open"},
        {L"<r/><x a='", L"<r/><N/>\r\n<x a='"},
        {L"<r/>< oops", L"<r/><N/>\r\n< oops"},
        {L"<r/>\r\n<!-- c -->\r\n", L"<r/>\r\n<!-- c -->\r\n<N/>\r\n"},
    };
    for (const Case& c : cases) {
        CXmlDoc d;
        d.SetDocText(c.doc);
        ASSERT_TRUE(d.AddElement(L"N"));  // nothing current: at the end of the document
        EXPECT_EQ(W(d.GetDocText()), c.after);
        EXPECT_EQ(W(d.CheckTree()), L"");
    }
}

TEST(XmlDocEdit, EditsAroundLongTags)
{
    std::wstring name(2000, L'n');
    std::wstring text = L"<r><" + name + L">x</" + name + L"><b/></r>";
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(text.c_str()));
    ASSERT_TRUE(doc.FindChildNode(name.c_str()));
    ASSERT_TRUE(doc.SetTextAt(doc.m_childPos, L"longer text"));
    ASSERT_TRUE(doc.FindChildNode(L"b"));
    ASSERT_TRUE(doc.SetTextAt(doc.m_childPos, L"y"));
    EXPECT_EQ(W(doc.GetDocText()), L"<r><" + name + L">longer text</" + name + L"><b>y</b></r>");
    EXPECT_EQ(W(doc.CheckTree()), L"");
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(name.c_str(), L"z"));
    EXPECT_EQ(W(doc.CheckTree()), L"");
}

TEST(XmlDocEdit, ManyEditsStayConsistent)
{
    CXmlDoc doc;
    doc.SetDocText(kDecl);
    ASSERT_TRUE(doc.AddElement(L"root"));
    ASSERT_TRUE(doc.EnterNode());
    for (int p = 1; p <= 10; ++p) {
        wchar_t name[32];
        swprintf(name, 32, L"PROFILE_%d", p);
        ASSERT_TRUE(doc.AddElement(name));
        ASSERT_TRUE(doc.EnterNode());
        for (int k = 0; k < 20; ++k) ASSERT_TRUE(doc.AddElement(L"KEY", k));
        ASSERT_TRUE(doc.LeaveNode());
    }
    EXPECT_EQ(W(doc.CheckTree()), L"");
    // Change texts in the middle, growing and shrinking, and check after each.
    doc.ResetNavigation();
    int n = 0;
    while (doc.FindChildNode(L"PROFILE_5") || doc.FindChildNode(nullptr)) {
        ASSERT_TRUE(doc.EnterNode());
        while (doc.FindChildNode(L"KEY")) {
            ASSERT_TRUE(doc.SetTextAt(doc.m_childPos, (n % 2) ? L"" : L"a much longer text & more"));
            ++n;
        }
        ASSERT_TRUE(doc.LeaveNode());
        if (n > 100) break;
    }
    EXPECT_EQ(W(doc.CheckTree()), L"");
}
