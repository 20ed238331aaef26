#include "ConfigTestSupport.h"
#include <gtest/gtest.h>

std::unique_ptr<ConfigData> DefaultRecord()
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    return cfg;
}

static void Put(wchar_t* field, int capacity, const std::wstring& text)
{
    CopyField(field, capacity, text.c_str());
}
template <int N> static void Put(wchar_t (&field)[N], const std::wstring& text) { Put(field, N, text); }

std::unique_ptr<ConfigData> RichRecord()
{
    auto cfg = NewConfigData();
    cfg->PROFILE_ID = 6;
    cfg->POLLING_RATE = 3;
    cfg->GAME_MODE = 1;
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        ProfileData& p = cfg->profiles[n];
        std::wstring num = std::to_wstring(n + 1);
        p.REGION = n;
        Put(p.SERVER_NAME, n == 0 ? Repeat(L'r', 254) : L"Realm <" + num + L"> & \"co\"");
        Put(p.CHARACTER_NAME, L"  Name&<>" + num + L"  ");
        Put(p.CHARACTER_CLASS, L"Class " + num);
        Put(p.CHARACTER_RACE, L"Race 'x' " + num);
        Put(p.CHARACTER_LEVEL, std::to_wstring(60 + n));
        Put(p.PROFILE_NAME, n == 1 ? Repeat(L'P', 255) : L"Raid & <Boss> " + num);
        p.DPI_VALUE = 1 + n % 5;
        p.DOUBLE_CLICK_SPEED = 150 + n * 80;
        p.SCROLL_SPEED = 1 + n;
        p.SENSITIVITY = 11 + n;
        p.ADVANCE_SENSITIVITY_X = 18 - n;
        p.ADVANCE_SENSITIVITY_Y = 1 + n;
        p.LED_COLOR = n == 9 ? 0xFFFFFFu : 0x00AB0000u + n;
        p.LED_INTENSITY = 1 + n % 4;
        p.LED_PULSATION = 1 + (n + 1) % 4;
        for (int g = 0; g < GAME_NAME_COUNT; ++g)
            if ((g + n) % 3) Put(p.GAME_NAME[g], L"game_" + num + L"_" + std::to_wstring(g) + L".exe");
        for (int i = 0; i < BUTTON_COUNT; ++i) {
            p.buttons[i].number = (uint8_t)(i + 1);
            p.buttons[i].code = i < 2 ? i + 1 : 1000 + (n * 11 + i) % 50;
        }
        for (int k = 0; k < MACRO_COUNT; ++k) {
            MacroData& m = p.macros[k];
            if (k % 5) Put(m.MACRO_NAME, L"Macro <" + std::to_wstring(k + 1) + L"> & " + num);
            int count = k == 0 ? MACRO_EVENT_COUNT : (k * 7 + n) % (MACRO_EVENT_COUNT + 1);
            for (int j = 0; j < count; ++j)
                m.events[j] = {(uint8_t)(1 + j % 255), (uint8_t)(j % 2), j == 3 ? -1 : j * 3 + n};
            m.loopCount = k;
            m.loopFlag = k % 2;
            m.delayMode = 1 + k % 4;
            m.startKeys[0] = {160, 0, 5};
            if (k % 2) m.startKeys[1] = {65, 1, 0};
            m.startKeyFlag = k % 3 == 0;
            if (k % 4) m.sendKeys[0] = {13, 0, 20 + k};
            if (k % 4 == 1) m.sendKeys[1] = {13, 1, 0};
            m.sendKeyFlag = k % 4 == 1;
            if (k % 3 == 1) Put(m.pasteText, L"paste <&> text " + std::to_wstring(k));
        }
    }
    return cfg;
}

static size_t FindAnchor(const std::wstring& text, const std::wstring& anchor, const std::wstring& what)
{
    size_t a = text.find(anchor);
    EXPECT_NE(a, std::wstring::npos) << "anchor missing";
    if (a == std::wstring::npos) return a;
    size_t at = text.find(what, a + anchor.size());
    EXPECT_NE(at, std::wstring::npos) << "text missing after anchor";
    return at;
}

void ReplaceAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& from, const std::wstring& to)
{
    size_t at = FindAnchor(text, anchor, from);
    if (at != std::wstring::npos) text.replace(at, from.size(), to);
}

void EraseAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& what)
{
    ReplaceAfter(text, anchor, what, L"");
}

void InsertAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& what)
{
    size_t a = text.find(anchor);
    EXPECT_NE(a, std::wstring::npos) << "anchor missing";
    if (a != std::wstring::npos) text.insert(a + anchor.size(), what);
}

std::wstring Repeat(wchar_t ch, int count)
{
    return std::wstring(count, ch);
}
