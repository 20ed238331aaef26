#include "ConfigTestSupport.h"
#include "FileHolders.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include <gtest/gtest.h>

namespace {

struct Flag {
    const char* name;
    const wchar_t* element;
    int32_t (*get)(const wchar_t*);
    bool (*set)(const wchar_t*, int32_t);
};

const Flag kFlags[] = {
    {"tray icon", L"TRAY_ICON_FLAG", GetTrayIconFlag, SetTrayIconFlag},
    {"warning option", L"WARNING_OPTION_FLAG", GetWarningOptionFlag, SetWarningOptionFlag},
    {"warning four option", L"WARNINGFOUR_OPTION_FLAG", GetWarningFourOptionFlag, SetWarningFourOptionFlag},
};

} // namespace

TEST(ConfigSettings, FlagIsAddedOnceAsTheRootsLastChildThenChanged)
{
    for (const Flag& f : kFlags) {
        SCOPED_TRACE(f.name);
        ConfFolder conf;
        ASSERT_TRUE(WriteNewConfigFile(*DefaultRecord(), conf.File(L"Config.xml")));
        std::wstring original = ReadUtf16File(conf.File(L"Config.xml"));
        EXPECT_EQ(f.get(conf.Path()), 0);

        EXPECT_TRUE(f.set(conf.Path(), 1));
        EXPECT_EQ(f.get(conf.Path()), 1);
        std::wstring open = L"<" + std::wstring(f.element) + L">";
        std::wstring expected = original;
        expected.insert(expected.rfind(L"</root>"), open + L"1</" + f.element + L">\r\n");
        EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), expected);
        EXPECT_EQ(ReadBytes(conf.File(L"Config.xml"))[0], 0xFF);

        f.set(conf.Path(), 0);
        EXPECT_EQ(f.get(conf.Path()), 0);
        f.set(conf.Path(), 1);
        f.set(conf.Path(), 7);
        EXPECT_EQ(f.get(conf.Path()), 7);
        std::wstring text = ReadUtf16File(conf.File(L"Config.xml"));
        EXPECT_EQ(CountOf(text, open), 1u);

        // The record around it is untouched and still loads.
        auto cfg = NewConfigData();
        ResetConfig(*cfg);
        LoadConfig(*cfg, conf.File(L"Config.xml"));
        EXPECT_EQ(ValidateConfig(*cfg), 0);
        EXPECT_EQ(CompareConfig(*cfg, *DefaultRecord()), 0);
    }
}

TEST(ConfigSettings, FlagsAreFoundAnywhereAmongTheRootsChildren)
{
    ConfFolder conf;
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<WARNINGFOUR_OPTION_FLAG>1</WARNINGFOUR_OPTION_FLAG>\r\n"
                        L"<PROFILE_1>\r\n<TRAY_ICON_FLAG>5</TRAY_ICON_FLAG>\r\n</PROFILE_1>\r\n"
                        L"<TRAY_ICON_FLAG> 3</TRAY_ICON_FLAG>\r\n<WARNING_OPTION_FLAG>x</WARNING_OPTION_FLAG>\r\n</root>\r\n";
    ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), text));
    EXPECT_EQ(GetTrayIconFlag(conf.Path()), 3);
    EXPECT_EQ(GetWarningOptionFlag(conf.Path()), 0);
    EXPECT_EQ(GetWarningFourOptionFlag(conf.Path()), 1);

    SetTrayIconFlag(conf.Path(), 0);
    std::wstring expected = text;
    ReplaceAfter(expected, L"</PROFILE_1>", L"<TRAY_ICON_FLAG> 3<", L"<TRAY_ICON_FLAG>0<");
    EXPECT_EQ(ReadUtf16File(conf.File(L"Config.xml")), expected);
}

TEST(ConfigSettings, NoOrBrokenConfigXmlGetterZeroSetterWritesNothing)
{
    for (const Flag& f : kFlags) {
        SCOPED_TRACE(f.name);
        ConfFolder conf;
        EXPECT_EQ(f.get(conf.Path()), 0);
        EXPECT_FALSE(f.set(conf.Path(), 1));
        EXPECT_EQ(GetFileAttributesW(conf.File(L"Config.xml")), INVALID_FILE_ATTRIBUTES);

        std::wstring broken = L"<root>\r\n<TRAY_ICON_FLAG>1</TRAY_ICON_FLAG>\r\n<WARNING_OPTION_FLAG>1</WARNING_OPTION_FLAG>\r\n"
                              L"<WARNINGFOUR_OPTION_FLAG>1</WARNINGFOUR_OPTION_FLAG>\r\n<PROFILE_1>\r\n";
        ASSERT_TRUE(WriteUtf16File(conf.File(L"Config.xml"), broken));
        std::vector<unsigned char> bytes = ReadBytes(conf.File(L"Config.xml"));
        EXPECT_EQ(f.get(conf.Path()), 0);
        EXPECT_FALSE(f.set(conf.Path(), 0));
        EXPECT_EQ(ReadBytes(conf.File(L"Config.xml")), bytes);
    }
}

TEST(ConfigSettings, ASecondHandleOnConfigXmlLosesNoFlagAndTheAnswerIsHonest)
{
    for (const FileHolder& holder : FileHolders()) {
        for (const Flag& f : kFlags) {
            SCOPED_TRACE(std::string(holder.who) + ", " + f.name);
            ConfFolder conf;
            CString path = conf.File(L"Config.xml");
            ASSERT_TRUE(WriteNewConfigFile(*DefaultRecord(), path));
            ASSERT_TRUE(f.set(conf.Path(), 0));
            std::vector<unsigned char> before = ReadBytes(path);

            HANDLE h = HoldFile(path, holder);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            bool written = f.set(conf.Path(), 1);
            CloseHandle(h);
            EXPECT_EQ(written, holder.saves);
            if (written) {
                EXPECT_EQ(f.get(conf.Path()), 1);
                // Nothing else of the file changed.
                auto cfg = NewConfigData();
                ResetConfig(*cfg);
                LoadConfig(*cfg, path);
                EXPECT_EQ(CompareConfig(*cfg, *DefaultRecord()), 0);
            } else {
                EXPECT_EQ(ReadBytes(path), before);
            }
        }
    }
}

TEST(ConfigSettings, VersionsFromFWVersionXml)
{
    ConfFolder conf;
    EXPECT_EQ(GetFirmwareVersion(), 0);
    EXPECT_EQ(GetSoftwareVersion(), 0);
    ASSERT_TRUE(WriteUtf16File(conf.File(L"FWVersion.xml"),
                               L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<SOFTWARE_VERSION>112</SOFTWARE_VERSION>\r\n"
                               L"<FW_VERSION>265</FW_VERSION>\r\n</root>\r\n"));
    EXPECT_EQ(GetFirmwareVersion(), 265);
    EXPECT_EQ(GetSoftwareVersion(), 112);
    ASSERT_TRUE(WriteUtf16File(conf.File(L"FWVersion.xml"), L"<root>\r\n<FW_VERSION>7</FW_VERSION>\r\n</root>\r\n"));
    EXPECT_EQ(GetFirmwareVersion(), 7);
    EXPECT_EQ(GetSoftwareVersion(), 0);
}
