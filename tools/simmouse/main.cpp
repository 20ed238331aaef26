// simmouse: the person at the simulated mouse. Run it in the Wine prefix of the suite.
#include "SimMouseClient.h"
#include <cstdio>
#include <cwchar>
#include <cstdlib>

namespace {

void Usage()
{
    fwprintf(stderr,
             L"usage: simmouse COMMAND\n"
             L"  install [FILE.sys]   install and start the driver (default: simmouse.sys beside simmouse.exe)\n"
             L"  stop                 stop the driver\n"
             L"  press N | release N  button N (1..11) down or up\n"
             L"  click N [MS]         down, MS milliseconds (default 80), up\n"
             L"  unplug | plug        the mouse leaves or comes back\n"
             L"  state                the device's settings and state\n"
             L"  log [FROM]           the requests the device got, from number FROM on\n"
             L"  reset                a mouse fresh from the box\n");
}

int PrintState(SimMouseControl& mouse)
{
    SimDeviceState s = {};
    if (!mouse.GetState(s)) return 1;
    const SimSettings& v = s.settings;
    wprintf(L"plugged in      %ls\n", s.connected ? L"yes" : L"no");
    wprintf(L"service         %d open handle(s), event semaphore %ls\n", s.opens,
            s.registered ? L"registered" : L"not registered");
    wprintf(L"DPI stage       %u\n", v.stage);
    wprintf(L"polling rate    %u\n", v.pollingRate);
    wprintf(L"LED colour      R %u G %u B %u\n", v.r, v.g, v.b);
    wprintf(L"LED intensity   %d\n", v.intensity);
    wprintf(L"LED pulsation   %d\n", v.pulsation);
    wprintf(L"sensitivity     X %d Y %d\n", v.sensX, v.sensY);
    wprintf(L"button mask     0x%04X\n", v.mask);
    wprintf(L"firmware        %u\n", v.fwHigh * 100 + v.fwLow);
    wprintf(L"buttons down    standard 0x%02X extended 0x%04X\n", s.standard, s.extended);
    wprintf(L"events queued   %d\n", s.pending);
    wprintf(L"requests        %u\n", s.logNext - 1);
    return 0;
}

int PrintLog(SimMouseControl& mouse, uint32_t from)
{
    for (const SimLogEntry& e : mouse.ReadLog(from)) {
        wprintf(L"%6u %-22hs in %3u out %2u  ", e.seq, SimRequestName(e.code), e.inSize, e.outSize);
        for (uint32_t i = 0; i < e.inSize && i < 8; ++i) wprintf(L"%02X ", e.in[i]);
        if (e.word) wprintf(L" word 0x%08X", e.word);
        wprintf(L"  %ls\n", SimResultText((SimResult)e.result));
    }
    return 0;
}

int ButtonStep(SimMouseControl& mouse, int button, bool down)
{
    SimButtonAnswer a = mouse.Button(button, down);
    if (a.result != SIM_OK) {
        fwprintf(stderr, L"button %d %ls: %ls\n", button, down ? L"press" : L"release",
                 SimResultText((SimResult)a.result));
        return a.result == SIM_NO_CHANGE ? 0 : 1;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::wstring command = argv[1];
    if (command == L"install") {
        std::wstring error;
        std::wstring file = argc > 2 ? argv[2] : SimMouseDriverBesideProgram();
        if (!InstallSimMouse(file, &error)) {
            fwprintf(stderr, L"simmouse: %ls\n", error.c_str());
            return 1;
        }
        wprintf(L"the simulated mouse runs as \\\\.\\KV-QuellarDevice\n");
        return 0;
    }
    if (command == L"stop") return StopSimMouse() ? 0 : 1;

    SimMouseControl mouse;
    if (!mouse.Open()) {
        fwprintf(stderr, L"simmouse: the driver does not run (simmouse install)\n");
        return 1;
    }
    int button = argc > 2 ? _wtoi(argv[2]) : 0;
    if (command == L"press") return ButtonStep(mouse, button, true);
    if (command == L"release") return ButtonStep(mouse, button, false);
    if (command == L"click") {
        int rc = ButtonStep(mouse, button, true);
        if (rc) return rc;
        Sleep(argc > 3 ? (DWORD)_wtoi(argv[3]) : 80);
        return ButtonStep(mouse, button, false);
    }
    if (command == L"unplug" || command == L"plug") {
        SimResult r = command == L"unplug" ? mouse.Unplug() : mouse.Plug();
        if (r != SIM_OK) fwprintf(stderr, L"simmouse: %ls\n", SimResultText(r));
        return r == SIM_OK || r == SIM_NO_CHANGE ? 0 : 1;
    }
    if (command == L"state") return PrintState(mouse);
    if (command == L"log") return PrintLog(mouse, argc > 2 ? (uint32_t)_wtoi(argv[2]) : 1);
    if (command == L"reset") return mouse.Reset() ? 0 : 1;
    Usage();
    return 2;
}
