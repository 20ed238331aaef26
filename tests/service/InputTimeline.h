#pragma once
#include "ServiceFakes.h"
#include <string>
#include <vector>

// Records the input handed to SendInput together with the fake clock's waits between
// them, and writes the whole as one line of tokens:
//   key      <vk>v (down) or <vk>^ (up), with e when extended      "87ve", "87^"
//   mouse    m<flags hex>:<data> with @ when taken at the cursor   "m2:0", "m8@:0"
//   wait     w<ms>                                                 "w200"
// Every key token is checked to carry the scan code of its own virtual key.
class InputTimeline : public IInputSeam {
public:
    explicit InputTimeline(FakeClock& clock) : m_clock(clock) {}
    UINT Send(const INPUT& input) override;

    std::string Text() const;
    std::vector<INPUT> Inputs() const;
    void Clear();
    // False when some key event's scan code was not MapVirtualKeyW of its key.
    bool ScanCodesMatch() const { return m_scanCodesMatch; }

private:
    struct Entry {
        INPUT input;
        size_t waitsBefore;  // clock waits recorded before this input
    };
    FakeClock& m_clock;
    std::vector<Entry> m_entries;
    size_t m_waitsAtClear = 0;
    bool m_scanCodesMatch = true;
};

// Token helpers for expected timelines.
std::string Tap(int vk);
std::string With(int mod, int vk);
std::string Typed(const char* text);  // '\r' Enter, '/' the slash key, letters
std::string Join(std::initializer_list<std::string> parts);
