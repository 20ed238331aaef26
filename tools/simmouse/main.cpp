// simmouse: the person at the simulated mouse. Run it in the Wine prefix of the suite.
#include "SimMouseClient.h"
#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace {

void Usage()
{
    fprintf(stderr,
            "usage: simmouse COMMAND\n"
            "  install [FILE.sys]   install and start the driver (default: simmouse.sys beside simmouse.exe)\n"
            "  stop                 stop the driver\n"
            "  press N | release N  button N (1..11) down or up\n"
            "  click N [MS]         down, MS milliseconds (default 80), up\n"
            "  unplug | plug        the mouse leaves or comes back\n"
            "  state                the device's settings and state\n"
            "  log [FROM]           the requests the device got, from number FROM on\n"
            "  reset                a mouse fresh from the box, its memory too (the driver\n"
            "                       need not run)\n");
}

int PrintState(SimMouseControl& mouse)
{
    SimDeviceState s = {};
    if (!mouse.GetState(s)) return 1;
    const SimSettings& v = s.settings;
    printf("plugged in      %s\n", s.connected ? "yes" : "no");
    printf("service         %d open handle(s), event semaphore %s\n", s.opens,
           s.registered ? "registered" : "not registered");
    printf("DPI stage       %u\n", v.stage);
    printf("polling rate    %u\n", v.pollingRate);
    printf("LED colour      R %u G %u B %u\n", v.r, v.g, v.b);
    printf("LED intensity   %d\n", v.intensity);
    printf("LED pulsation   %d\n", v.pulsation);
    printf("sensitivity     X %d Y %d\n", v.sensX, v.sensY);
    printf("button mask     0x%04X\n", v.mask);
    printf("firmware        %u\n", v.fwHigh * 100 + v.fwLow);
    printf("buttons down    standard 0x%02X extended 0x%04X\n", s.standard, s.extended);
    printf("events queued   %d\n", s.pending);
    printf("requests        %u\n", s.logNext - 1);
    return 0;
}

int PrintLog(SimMouseControl& mouse, uint32_t from)
{
    for (const SimLogEntry& e : mouse.ReadLog(from)) {
        printf("%6u %-22s in %3u out %2u  ", e.seq, SimRequestName(e.code), e.inSize, e.outSize);
        for (uint32_t i = 0; i < e.inSize && i < 8; ++i) printf("%02X ", e.in[i]);
        if (e.word) printf(" word 0x%08X", e.word);
        printf("  %ls\n", SimResultText((SimResult)e.result));
    }
    return 0;
}

int ButtonStep(SimMouseControl& mouse, int button, bool down)
{
    SimButtonAnswer a = mouse.Button(button, down);
    if (a.result != SIM_OK) {
        fprintf(stderr, "button %d %s: %ls\n", button, down ? "press" : "release",
                SimResultText((SimResult)a.result));
        return a.result == SIM_NO_CHANGE ? 0 : 1;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Read by shell users through awk and grep: a line ends in LF alone, as a Unix
    // program's does, not in the CR LF of the run-time's text mode.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::wstring command = argv[1];
    if (command == L"install") {
        std::wstring error;
        std::wstring file = argc > 2 ? argv[2] : SimMouseDriverBesideProgram();
        if (!InstallSimMouse(file, &error)) {
            fprintf(stderr, "simmouse: %ls\n", error.c_str());
            return 1;
        }
        printf("the simulated mouse runs as \\\\.\\KV-QuellarDevice\n");
        return 0;
    }
    if (command == L"stop") return StopSimMouse() ? 0 : 1;

    SimMouseControl mouse;
    if (command == L"reset" && !mouse.Open()) {
        // The driver does not run: its next start finds no memory.
        if (!ForgetSimMouseMemory()) {
            fprintf(stderr, "simmouse: %ls could not be removed\n", SimMouseMemoryFile().c_str());
            return 1;
        }
        printf("the simulated mouse starts with its factory settings\n");
        return 0;
    }
    if (!mouse.Open()) {
        fprintf(stderr, "simmouse: the driver does not run (simmouse install)\n");
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
        if (r != SIM_OK) fprintf(stderr, "simmouse: %ls\n", SimResultText(r));
        return r == SIM_OK || r == SIM_NO_CHANGE ? 0 : 1;
    }
    if (command == L"state") return PrintState(mouse);
    if (command == L"log") return PrintLog(mouse, argc > 2 ? (uint32_t)_wtoi(argv[2]) : 1);
    if (command == L"reset") {
        if (!mouse.Reset()) return 1;
        printf("the simulated mouse has its factory settings\n");
        return 0;
    }
    Usage();
    return 2;
}
