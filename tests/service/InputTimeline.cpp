#include "InputTimeline.h"
#include <cstdio>

UINT InputTimeline::Send(const INPUT& input)
{
    if (input.type == INPUT_KEYBOARD && input.ki.wScan != (WORD)MapVirtualKeyW(input.ki.wVk, MAPVK_VK_TO_VSC))
        m_scanCodesMatch = false;
    m_entries.push_back({input, m_clock.Waits().size()});
    return 1;
}

std::string InputTimeline::Text() const
{
    std::vector<DWORD> waits = m_clock.Waits();
    std::string out;
    size_t w = m_waitsAtClear;
    auto add = [&out](const std::string& token) {
        if (!out.empty()) out += ' ';
        out += token;
    };
    char buf[64];
    for (const Entry& e : m_entries) {
        for (; w < e.waitsBefore && w < waits.size(); ++w) {
            snprintf(buf, sizeof(buf), "w%lu", (unsigned long)waits[w]);
            add(buf);
        }
        if (e.input.type == INPUT_KEYBOARD) {
            snprintf(buf, sizeof(buf), "%u%s%s", e.input.ki.wVk, (e.input.ki.dwFlags & KEYEVENTF_KEYUP) ? "^" : "v",
                     (e.input.ki.dwFlags & KEYEVENTF_EXTENDEDKEY) ? "e" : "");
        } else {
            bool atCursor = e.input.mi.dx != 0 || e.input.mi.dy != 0;
            snprintf(buf, sizeof(buf), "m%lx%s:%ld", (unsigned long)e.input.mi.dwFlags, atCursor ? "@" : "",
                     (long)(LONG)e.input.mi.mouseData);
        }
        add(buf);
    }
    for (; w < waits.size(); ++w) {
        snprintf(buf, sizeof(buf), "w%lu", (unsigned long)waits[w]);
        add(buf);
    }
    return out;
}

std::vector<INPUT> InputTimeline::Inputs() const
{
    std::vector<INPUT> v;
    for (const Entry& e : m_entries) v.push_back(e.input);
    return v;
}

void InputTimeline::Clear()
{
    m_entries.clear();
    m_waitsAtClear = m_clock.Waits().size();
    m_scanCodesMatch = true;
}

std::string Tap(int vk)
{
    return std::to_string(vk) + "v " + std::to_string(vk) + "^";
}

std::string With(int mod, int vk)
{
    return std::to_string(mod) + "v " + Tap(vk) + " " + std::to_string(mod) + "^";
}

std::string Typed(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        int vk = *p == '\r' ? VK_RETURN : *p == '/' ? VK_OEM_2 : (unsigned char)*p;
        if (!out.empty()) out += ' ';
        out += Tap(vk);
    }
    return out;
}

std::string Join(std::initializer_list<std::string> parts)
{
    std::string out;
    for (const std::string& p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += ' ';
        out += p;
    }
    return out;
}
