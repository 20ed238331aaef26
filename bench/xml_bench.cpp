// Prints figures of the XML document: parse throughput, building a Config.xml-like
// document with AddElement at 1x and 4x size, and load and save of that document.
#include "core/XmlDoc.h"
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

double Now()
{
    static LARGE_INTEGER freq;
    if (!freq.QuadPart) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

// A large document in the style of the shipped files: nested sections, attributes,
// references, comments and CDATA.
std::wstring LargeDocument(int sections)
{
    std::wstring s = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n";
    wchar_t line[256];
    for (int i = 0; i < sections; ++i) {
        swprintf(line, 256, L"<SECTION_%d id=\"%d\" caption='Section &amp; more'>\r\n", i, i);
        s += line;
        s += L"<!-- a comment that the reader skips -->\r\n";
        for (int k = 0; k < 20; ++k) {
            swprintf(line, 256, L"<ITEM_%d code=\"%d\" x=\"12\" y=\"34\">Text of item %d &lt;%d&gt;</ITEM_%d>\r\n", k,
                     i * 20 + k, k, i, k);
            s += line;
        }
        s += L"<EMPTY/>\r\n<DATA><![CDATA[raw <data> here]]></DATA>\r\n";
        swprintf(line, 256, L"</SECTION_%d>\r\n", i);
        s += line;
    }
    s += L"</root>\r\n";
    return s;
}

int BuildConfig(CXmlDoc& doc, int profiles)
{
    doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n");
    doc.m_docFlags = XMLDOC_UTF16LE_BOM;
    int count = 0;
    wchar_t name[32];
    doc.AddElement(L"root");
    doc.EnterNode();
    doc.AddElement(L"PROFILE_ID", 0);
    doc.AddElement(L"POLLING_RATE", 1000);
    doc.AddElement(L"GAME_MODE", 0);
    count += 4;
    for (int p = 1; p <= profiles; ++p) {
        swprintf(name, 32, L"PROFILE_%d", p);
        doc.AddElement(name);
        doc.EnterNode();
        ++count;
        for (int k = 0; k < 40; ++k) {
            swprintf(name, 32, L"KEY_%d", k);
            doc.AddElement(name, k % 3 ? L"Some value" : nullptr);
            ++count;
        }
        for (int m = 1; m <= 45; ++m) {
            swprintf(name, 32, L"MACRO_%d", m);
            doc.AddElement(name);
            doc.EnterNode();
            ++count;
            for (int k = 0; k < 9; ++k) {
                swprintf(name, 32, L"MACRO_KEY_%d", k);
                doc.AddElement(name, k * 7);
                ++count;
            }
            doc.LeaveNode();
        }
        doc.LeaveNode();
    }
    return count;
}

} // namespace

int wmain()
{
    // Parse throughput.
    std::wstring big = LargeDocument(40000);
    CXmlDoc doc;
    doc.SetDocText(big.c_str());
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        double t0 = Now();
        doc.ParseDocument();
        double t = Now() - t0;
        if (t < best) best = t;
    }
    double mb = big.size() * sizeof(wchar_t) / 1e6;
    wprintf(L"parse: %.1f MB of UTF-16 text, %d elements, %.1f ms, %.0f MB/s\n", mb, doc.UsedPosCount() - 1,
            best * 1e3, mb / best);

    // Building with AddElement at 1x and 4x.
    double perElement[2] = {0, 0};
    for (int scale = 0; scale < 2; ++scale) {
        int profiles = scale ? 40 : 10;
        double bestBuild = 1e9;
        int count = 0;
        for (int i = 0; i < 5; ++i) {
            CXmlDoc built;
            double t0 = Now();
            count = BuildConfig(built, profiles);
            double t = Now() - t0;
            if (t < bestBuild) bestBuild = t;
        }
        perElement[scale] = bestBuild / count;
        wprintf(L"build %dx: %d elements with AddElement in %.2f ms (%.2f us per element)\n", scale ? 4 : 1, count,
                bestBuild * 1e3, perElement[scale] * 1e6);
    }
    wprintf(L"build growth: per-element time at 4x is %.2f times that at 1x (1.00 = linear)\n",
            perElement[1] / perElement[0]);

    // Load and save of the 1x document.
    wchar_t tmp[MAX_PATH], file[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    swprintf(file, MAX_PATH, L"%lsxml_bench_%lu.xml", tmp, GetCurrentProcessId());
    CXmlDoc config;
    BuildConfig(config, 10);
    config.SaveFile(file);
    double bestLoad = 1e9, bestSave = 1e9;
    for (int i = 0; i < 5; ++i) {
        CXmlDoc d;
        double t0 = Now();
        bool ok = d.LoadFile(file);
        double t1 = Now();
        ok = d.SaveFile(file) && ok;
        double t2 = Now();
        if (!ok) {
            wprintf(L"load/save failed: %ls\n", d.GetLog().GetString());
            DeleteFileW(file);
            return 1;
        }
        if (t1 - t0 < bestLoad) bestLoad = t1 - t0;
        if (t2 - t1 < bestSave) bestSave = t2 - t1;
    }
    WIN32_FILE_ATTRIBUTE_DATA fa;
    GetFileAttributesExW(file, GetFileExInfoStandard, &fa);
    wprintf(L"load+save of the 1x document (%lu bytes): load %.2f ms, save %.2f ms\n", fa.nFileSizeLow,
            bestLoad * 1e3, bestSave * 1e3);
    DeleteFileW(file);
    return 0;
}
