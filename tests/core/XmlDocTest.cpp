#include "XmlDocTestSupport.h"
#include <gtest/gtest.h>

TEST(XmlDocParse, NewDocumentIsEmpty)
{
    CXmlDoc doc;
    EXPECT_EQ(W(doc.GetDocText()), L"");
    EXPECT_EQ(W(doc.GetLog()), L"Empty document");
    EXPECT_FALSE(doc.HasSingleRoot());
    EXPECT_FALSE(doc.FindElement(nullptr));
    EXPECT_FALSE(doc.FindChildNode(nullptr));
    EXPECT_FALSE(doc.EnterNode());
    EXPECT_FALSE(doc.LeaveNode());
    EXPECT_EQ(W(doc.GetTextAt(0)), L"");
}

TEST(XmlDocParse, TreesLogsAndRepairs)
{
    struct Case {
        const wchar_t* text;
        bool singleRoot;
        const wchar_t* log;
        const wchar_t* tree;
    };
    const Case cases[] = {
        {L"", false, L"Empty document", L""},
        {L"just text", false, L"No root element", L""},
        {L"<?xml version=\"1.0\"?>\r\n<!-- c -->", false, L"No root element", L""},
        {L"<root><a>1</a><b>2</b></root>", true, L"", L"root0{a1,b1}"},
        {L"<a/><b/>", false, L"Root element has sibling", L"a0,b0"},
        {L"<root><a></root>", false,
         L"End tag 'root' at offset 9 does not match start tag 'a' at offset 6", L"[ill] root0{a!U1}"},
        {L"<r><a><b><c/></b><d/></r>", false,
         L"End tag 'r' at offset 21 does not match start tag 'a' at offset 3", L"[ill] r0{a!U1,b1{c2},d1}"},
        {L"<r><a><b><c><e/></r>", false,
         L"End tag 'r' at offset 16 does not match start tag 'c' at offset 9", L"[ill] r0{a!U1,b!U1,c!U1,e1}"},
        {L"<r></x></r>", false, L"No start tag for end tag 'x' at offset 3", L"[ill] r!I0"},
        // The unended elements' children move up to the document level.
        {L"<r><a>", false, L"Root element has sibling", L"[ill] r!U0,a!U0"},
        {L"<r><a><b>x</b>", false, L"Root element has sibling", L"[ill] r!U0,a!U0,b0"},
        {L"<r>", false, L"Element 'r' at offset 0 not ended", L"[ill] r!U0"},
        {L"<r><a/>", false, L"Root element has sibling", L"[ill] r!U0,a0"},
        {L"<r>< x</r>", false, L"Incorrect tag name character at offset 3", L"[ill] r!U0"},
        {L"<r><!-x--></r>", false, L"Incorrect comment tag at offset 3", L"[ill] r!I0"},
        {L"<r><!x></r>", false, L"Incorrect ! tag at offset 3", L"[ill] r!I0"},
        {L"<r><!-- c", false, L"Comment at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r><![CDATA[x", false, L"CDATA Section at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r><?pi", false, L"Processing instruction at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r></r", false, L"Element end tag at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r><!ELEMENT x", false, L"tag at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r><a x='>", false, L"Element tag at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r><!DOCTYPE x [<!-- ]> -->", false, L"Doctype at offset 3 unterminated", L"[ill] r!U0"},
        {L"<r a=\"", false, L"No root element", L"[ill] "},
        {L"<!DOCTYPE r [", false, L"No root element", L"[ill] "},
        {L"<!DOCTYPE r [<!ENTITY x \"a>b\"><!-- ]> --><?p ]>?>]><r/>", true, L"", L"r0"},
        {L"<!DOCTYPE r SYSTEM \"x>y\"><r/>", true, L"", L"r0"},
        {L"<r><![CDATA[<a></r>]]><!-- <b> --><?x <c>?></r>", true, L"", L"r0"},
        {L"<r a='>' b=\"/>\"><c x=1/></c></r>", true, L"", L"r0{c1}"},
        {L"<r><c x=1/></r>", false, L"End tag 'r' at offset 11 does not match start tag 'c' at offset 3",
         L"[ill] r0{c!U1}"},
        {L"<r><c x=\"1\"/><d /><e/></r>", true, L"", L"r0{c1,d1,e1}"},
        // Only the first error reaches the log.
        {L"<r></x></y></r>", false, L"No start tag for end tag 'x' at offset 3", L"[ill] r!I0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << ::testing::PrintToString(std::wstring(c.text)));
        CXmlDoc doc;
        EXPECT_EQ(doc.SetDocText(c.text), c.singleRoot);
        EXPECT_EQ(doc.HasSingleRoot(), c.singleRoot);
        EXPECT_EQ(W(doc.GetLog()), c.log);
        EXPECT_EQ(DescribeTree(doc), c.tree);
        EXPECT_EQ(doc.PosAt(0)->length, (int32_t)wcslen(c.text));
        EXPECT_EQ(doc.m_currentPos, 0);
        EXPECT_EQ(W(doc.CheckTree()), L"");
    }
}

TEST(XmlDocParse, PositionsOfElements)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root x='1'>\r\n<a>text</a  >\r\n<b/>\r\n</root>\r\n"));
    ASSERT_TRUE(doc.FindElement(L"root"));
    const XmlElementPos* root = doc.PosAt(doc.m_currentPos);
    EXPECT_EQ(root->start, 0);
    EXPECT_EQ(root->startTagLength, 12);
    EXPECT_EQ(root->endTagLength, 7);
    EXPECT_EQ(root->length, 42);
    ASSERT_TRUE(doc.FindChildNode(L"a"));
    const XmlElementPos* a = doc.PosAt(doc.m_childPos);
    EXPECT_EQ(a->start, 14);
    EXPECT_EQ(a->startTagLength, 3);
    EXPECT_EQ(a->endTagLength, 6);
    EXPECT_EQ(a->length, 13);
    EXPECT_TRUE(a->levelFlags & ELEM_FIRST);
    EXPECT_EQ(a->levelFlags & ELEM_LEVEL_MASK, 1u);
    ASSERT_TRUE(doc.FindChildNode(L"b"));
    const XmlElementPos* b = doc.PosAt(doc.m_childPos);
    EXPECT_EQ(b->startTagLength, 4);
    EXPECT_EQ(b->length, 4);
    EXPECT_EQ(b->endTagLength, 0);
    EXPECT_FALSE(b->levelFlags & ELEM_FIRST);
    // The first child names the last one.
    EXPECT_EQ(a->prevSibling, doc.m_childPos);
}

TEST(XmlDocParse, LongEndTagKeepsItsLength)
{
    std::wstring name(3000, L'n');
    std::wstring text = L"<r><" + name + L">x</" + name + std::wstring(2000, L' ') + L"></r>";
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(text.c_str()));
    ASSERT_TRUE(doc.FindChildNode(name.c_str()));
    const XmlElementPos* e = doc.PosAt(doc.m_childPos);
    EXPECT_EQ(e->endTagLength, (int32_t)(name.size() + 2003));
    EXPECT_EQ(W(doc.GetChildText()), L"x");
}

TEST(XmlDocScan, NodeKindsAndLengths)
{
    struct Case {
        const wchar_t* text;
        int kind;
        int32_t length;
        bool empty;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"abc<x>", XML_NODE_TEXT, 3, false, L""},
        {L" \t\r\n<x>", XML_NODE_WHITESPACE, 4, false, L""},
        {L"  x ", XML_NODE_TEXT, 4, false, L""},
        {L"<a b='>'>z", XML_NODE_ELEMENT, 9, false, L"a"},
        {L"<a/>", XML_NODE_ELEMENT, 4, true, L"a"},
        {L"<a x=\"1\"/>", XML_NODE_ELEMENT, 10, true, L"a"},
        {L"<a x=1/>", XML_NODE_ELEMENT, 8, false, L"a"},
        {L"<\xE9t\xE9 />", XML_NODE_ELEMENT, 7, true, L"\xE9t\xE9"},
        {L"<_a:b>", XML_NODE_ELEMENT, 6, false, L"_a:b"},
        {L"</a >x", XML_NODE_END_TAG, 5, false, L"a"},
        {L"<?xml version='1.0'?>", XML_NODE_PI, 21, false, L""},
        {L"<!-- a -- b -->x", XML_NODE_COMMENT, 15, false, L""},
        {L"<![CDATA[ <> ]]>x", XML_NODE_CDATA, 16, false, L""},
        {L"<!DOCTYPE a [<!ELEMENT a ANY>]>x", XML_NODE_DOCTYPE, 31, false, L""},
        {L"<!ENTITY a 'b'>x", XML_NODE_DOCTYPE, 15, false, L""},
        {L"<1a>x", XML_NODE_ERROR, 4, false, L""},
        {L"< a", XML_NODE_ERROR, 3, false, L""},
        {L"<", XML_NODE_ERROR, 1, false, L""},
        {L"<!", XML_NODE_ERROR, 2, false, L""},
        {L"<!-", XML_NODE_ERROR, 3, false, L""},
        {L"<!-->", XML_NODE_ERROR, 5, false, L""},
        {L"<![X]>", XML_NODE_ERROR, 6, false, L""},
        {L"", XML_NODE_END, 0, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.text)));
        XmlNodeInfo node;
        int32_t len = (int32_t)wcslen(c.text);
        EXPECT_EQ(CXmlDoc::ScanNode(c.text, len, 0, node), c.kind);
        EXPECT_EQ(node.kind, c.kind);
        EXPECT_EQ(node.length, c.length);
        EXPECT_EQ(node.emptyElement, c.empty);
        EXPECT_EQ(std::wstring(c.text + node.nameStart, node.nameLength), c.name);
    }
}

TEST(XmlDocNavigate, ForwardSearchAndRewind)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><a>1</a><b>2</b></root>"));
    EXPECT_TRUE(doc.FindChildNode(L"b"));
    EXPECT_EQ(W(doc.GetChildText()), L"2");
    int32_t child = doc.m_childPos;
    EXPECT_FALSE(doc.FindChildNode(L"a"));
    EXPECT_EQ(doc.m_childPos, child);

    ASSERT_TRUE(doc.SetDocText(L"<root><a>1</a><b>2</b></root>"));
    EXPECT_TRUE(doc.FindChildNode(L"b"));
    doc.RewindChildren();
    EXPECT_EQ(doc.m_childPos, 0);
    EXPECT_EQ(doc.m_isElement, 1);
    EXPECT_TRUE(doc.FindChildNode(L"a"));
    EXPECT_EQ(W(doc.GetChildText()), L"1");
}

TEST(XmlDocNavigate, FreshDocumentSearchesTheRootsChildren)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><a>1</a><b>2</b></root>"));
    ASSERT_TRUE(doc.FindChildNode(L"a"));
    EXPECT_EQ(W(doc.GetChildText()), L"1");
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"root");
    EXPECT_EQ(doc.m_parentPos, 0);
    EXPECT_EQ(doc.m_isElement, 1);
}

TEST(XmlDocNavigate, EnterWithoutChildSearchesTheFirstChild)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><x><a>in</a></x><a>out</a></root>"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.EnterNode());
    EXPECT_EQ(doc.m_currentPos, 0);
    EXPECT_EQ(doc.m_isElement, 0);
    ASSERT_TRUE(doc.FindChildNode(L"a"));
    EXPECT_EQ(W(doc.GetChildText()), L"in");
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"x");

    // FindElement after EnterNode walks the entered element's children.
    CXmlDoc doc2;
    ASSERT_TRUE(doc2.SetDocText(L"<root><x><a>in</a></x><a>out</a></root>"));
    ASSERT_TRUE(doc2.FindElement(nullptr));
    ASSERT_TRUE(doc2.EnterNode());
    ASSERT_TRUE(doc2.FindElement(L"a"));
    EXPECT_EQ(W(doc2.GetTextAt(doc2.m_currentPos)), L"out");
    EXPECT_FALSE(doc2.FindElement(L"x"));
}

// With no element at the current level there is nothing whose children could be
// searched: FindChildNode answers false and leaves every position as it was.
TEST(XmlDocNavigate, FindChildNodeWithNoElementAtTheLevel)
{
    struct Case {
        const wchar_t* text;
        int enters;  // EnterNode calls after FindElement(null), each into the first child
    };
    const Case cases[] = {
        {L"<root/>", 1},
        {L"<root>text</root>", 1},
        {L"<root><x/></root>", 2},
        {L"<root><root/></root>", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.text)));
        CXmlDoc doc;
        ASSERT_TRUE(doc.SetDocText(c.text));
        ASSERT_TRUE(doc.FindElement(nullptr));
        ASSERT_TRUE(doc.EnterNode());
        for (int i = 1; i < c.enters; ++i) {
            ASSERT_TRUE(doc.FindElement(nullptr));
            ASSERT_TRUE(doc.EnterNode());
        }
        int32_t parent = doc.m_parentPos;
        EXPECT_EQ(doc.m_currentPos, 0);
        EXPECT_FALSE(doc.FindChildNode(nullptr));
        EXPECT_FALSE(doc.FindChildNode(L"root"));
        EXPECT_EQ(doc.m_parentPos, parent);
        EXPECT_EQ(doc.m_currentPos, 0);
        EXPECT_EQ(doc.m_childPos, 0);
        EXPECT_EQ(doc.m_isElement, 0);
    }
    // A miss after the first element of the level became current keeps it current.
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><x><a/></x><b/></root>"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.EnterNode());
    EXPECT_FALSE(doc.FindChildNode(L"b"));
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"x");
    EXPECT_EQ(doc.m_childPos, 0);
    EXPECT_TRUE(doc.FindChildNode(L"a"));
}

TEST(XmlDocNavigate, EnterLeaveSequence)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(
        L"<root><P1><K>1</K><M1><N>m</N></M1></P1><P2><K>2</K></P2><P1><K>3</K></P1></root>"));
    // Root's children in order, entering each profile.
    ASSERT_TRUE(doc.FindChildNode(L"P1"));
    ASSERT_TRUE(doc.EnterNode());
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"P1");
    ASSERT_TRUE(doc.FindChildNode(L"K"));
    EXPECT_EQ(W(doc.GetChildText()), L"1");
    ASSERT_TRUE(doc.FindChildNode(L"M1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindChildNode(L"N"));
    EXPECT_EQ(W(doc.GetChildText()), L"m");
    ASSERT_TRUE(doc.LeaveNode());  // current P1 again, its child M1
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"P1");
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_childPos)), L"M1");
    ASSERT_TRUE(doc.LeaveNode());  // back to root, child P1
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"root");
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_childPos)), L"P1");
    EXPECT_EQ(doc.m_parentPos, 0);
    EXPECT_FALSE(doc.LeaveNode());
    // The same name again after the first finds the later duplicate.
    ASSERT_TRUE(doc.FindChildNode(L"P1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindChildNode(L"K"));
    EXPECT_EQ(W(doc.GetChildText()), L"3");
}

TEST(XmlDocNavigate, FindElementAtEachLevel)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<root><A>1</A><B>2</B><C>3</C></root>"));
    ASSERT_TRUE(doc.FindElement(L"root"));
    ASSERT_TRUE(doc.EnterNode());
    EXPECT_TRUE(doc.FindElement(L"A"));
    EXPECT_TRUE(doc.FindElement(L"C"));
    EXPECT_FALSE(doc.FindElement(L"B"));  // forward only
    EXPECT_EQ(W(doc.GetTextAt(doc.m_currentPos)), L"3");
    EXPECT_FALSE(doc.FindElement(nullptr));
    EXPECT_TRUE(doc.LeaveNode());
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"root");
    EXPECT_FALSE(doc.FindElement(nullptr));  // the root has no sibling
    doc.ResetNavigation();
    EXPECT_TRUE(doc.FindElement(L""));
    EXPECT_EQ(W(doc.GetTagNameAt(doc.m_currentPos)), L"root");
}

TEST(XmlDocNavigate, NameMatching)
{
    struct Case {
        const wchar_t* tag;
        const wchar_t* name;
        bool match;
    };
    const Case cases[] = {
        {L"PROFILE_1", L"PROFILE_1", true},   {L"PROFILE_10", L"PROFILE_1", false},
        {L"PROFILE_1", L"PROFILE_10", false}, {L"a", L"A", false},
        {L"a", L"a b", true},                 {L"a", L"a=", true},
        {L"a", L"a/", true},                  {L"a", L"a[1]", true},
        {L"a", L"a]", true},                  {L"a", L"a.b", false},
        {L"a;b", L"a", true},                 {L"a\\b", L"a", true},
        {L"a", L"a\tb", false},               {L"x", nullptr, true},
        {L"x", L"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.tag)));
        std::wstring text = std::wstring(L"<r><") + c.tag + L" k='v'/></r>";
        CXmlDoc doc;
        doc.SetDocText(text.c_str());
        EXPECT_EQ(doc.FindChildNode(c.name), c.match);
    }
}

TEST(XmlDocRead, TextWithReferences)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"<a>x &lt; y &amp;amp; &#65;&#x42;</a>", L"x < y &amp; AB"},
        {L"<a>t<!-- c --><![CDATA[<z>]]></a>", L"t<z>"},
        {L"<a><b/></a>", L""},
        {L"<a/>", L""},
        {L"<a></a>", L""},
        {L"<a>x<?p?> y</a>", L"x y"},
        {L"<a>&foo;</a>", L"&foo;"},
        {L"<a>&;</a>", L"&;"},
        {L"<a>&abcdefghij;</a>", L"&abcdefghij;"},
        {L"<a>&#0;</a>", L"&#0;"},
        {L"<a>&#x110000;</a>", L"&#x110000;"},
        {L"<a>&#1114112;</a>", L"&#1114112;"},
        {L"<a>&#x10FFFF;</a>", L"\xDBFF\xDFFF"},
        {L"<a>&#x1F600;&#X41;</a>", L"\xD83D\xDE00" L"A"},
        {L"<a>&#12a;&#x;&#;</a>", L"&#12a;&#x;&#;"},
        {L"<a>&eacute;&Eacute;&apos;&quot;&nbsp;&euro;</a>", L"\xE9\xC9'\"\xA0\x20AC"},
        {L"<a>&AMP;&Lt;</a>", L"&<"},
        {L"<a>&a&amp;</a>", L"&a&"},
        {L"<a>a & b</a>", L"a & b"},
        {L"<a> \r\n </a>", L" \r\n "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.text)));
        CXmlDoc doc;
        doc.SetDocText(c.text);
        ASSERT_TRUE(doc.FindElement(nullptr));
        EXPECT_EQ(W(doc.GetTextAt(doc.m_currentPos)), c.result);
    }
}

TEST(XmlDocRead, Attributes)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"<a k=\"x>y\" k2='q'/>", L"k", L"x>y"},
        {L"<a k=\"x>y\" k2='q'/>", L"k2", L"q"},
        {L"<a k=\"x>y\" k2='q'/>", L"k3", L""},
        {L"<a k=\"x>y\" k2='q'/>", L"", L""},
        {L"<a kk='1' k='2'/>", L"k", L"2"},
        {L"<a k = 'sp' />", L"k", L"sp"},
        {L"<a k=v x=w>t</a>", L"x", L"w"},
        {L"<a k=v/>", L"k", L"v/"},
        {L"<a flag k='1'/>", L"k", L"1"},
        {L"<a flag k='1'/>", L"flag", L""},
        {L"<a k='&lt;&#65;&amp;'/>", L"k", L"<A&"},
        {L"<a k='a\"b' j=\"c'd\"/>", L"j", L"c'd"},
        {L"<a K='1'/>", L"k", L""},
        {L"<a>k='no'</a>", L"k", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << ::testing::PrintToString(std::wstring(c.text)));
        CXmlDoc doc;
        doc.SetDocText(c.text);
        ASSERT_TRUE(doc.FindElement(nullptr));
        EXPECT_EQ(W(doc.GetAttributeAt(doc.m_currentPos, c.name)), c.value);
    }
    CXmlDoc doc;
    doc.SetDocText(L"<r><c id='7'/></r>");
    EXPECT_EQ(W(doc.GetAttributeAt(0, L"id")), L"");
    ASSERT_TRUE(doc.FindChildNode(L"c"));
    EXPECT_EQ(W(doc.GetChildAttribute(L"id")), L"7");
}

TEST(XmlDocRead, BadPositionsReadEmpty)
{
    CXmlDoc doc;
    doc.SetDocText(L"<r>x</r>");
    for (int32_t pos : {0, -1, 2, 0x10000, 0x7FFFFFFF}) {
        EXPECT_EQ(W(doc.GetTextAt(pos)), L"");
        EXPECT_EQ(W(doc.GetAttributeAt(pos, L"a")), L"");
        EXPECT_FALSE(doc.SetTextAt(pos, L"x"));
    }
    EXPECT_EQ(W(doc.GetDocText()), L"<r>x</r>");
}

TEST(XmlDocParse, ManyElementsSpanSeveralBlocks)
{
    std::wstring text = L"<r>";
    for (int i = 0; i < 150000; ++i) text += (i % 3) ? L"<e/>" : L"<f>t</f>";
    text += L"</r>";
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(text.c_str()));
    EXPECT_EQ(doc.UsedPosCount(), 150002);
    ASSERT_TRUE(doc.FindElement(nullptr));
    int count = 0;
    while (doc.FindChildNode(L"f")) ++count;
    EXPECT_EQ(count, 50000);
    EXPECT_EQ(W(doc.GetChildText()), L"t");
    EXPECT_EQ(W(doc.CheckTree()), L"");
}
