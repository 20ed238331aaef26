#include "ServiceRig.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include "core/PipeLink.h"
#include <gtest/gtest.h>

static bool HasPostReload(const SimMouse& mouse)
{
    for (DWORD code : mouse.Codes())
        if (code == IOCTL_POST_RELOAD) return true;
    return false;
}

// Fully elevated, the service runs the pipe server; a reload notice that comes through the
// pipe is handled by the window like the posted message.
TEST(ServicePipe, ElevatedServiceTakesReloadNoticesFromThePipe)
{
    ServiceRig rig;
    rig.WriteConfig(*ServiceRig::DefaultConfig());
    rig.mouse.SetPresent(false);
    rig.wnd.reset(new CHIDWnd);
    ASSERT_TRUE(rig.wnd->CreateServiceWindow(true));
    ASSERT_NE(rig.wnd->m_pPipe, nullptr);
    EXPECT_EQ(StartPipeServer(rig.wnd->m_pPipe), 0);  // already running

    // A guard against a hang, not a measure.
    DWORD start = GetTickCount();
    while (!WaitNamedPipeW(PIPE_NAME, 100)) {
        ASSERT_LT(GetTickCount() - start, 20000u) << "the service's pipe never appeared";
        rig.Pump();
        Sleep(10);
    }
    PipeLink client;
    InitPipeLink(nullptr, client);
    ASSERT_EQ(StartPipeClient(client), 1);
    EXPECT_TRUE(SendReloadNoticeToAll(client));

    start = GetTickCount();
    while (!HasPostReload(rig.mouse)) {
        ASSERT_LT(GetTickCount() - start, 20000u) << "the reload notice never arrived";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        rig.Pump();
    }
    ClosePipeLink(client);
    rig.wnd.reset();  // closes the server link and waits for its thread
    SUCCEED();
}

TEST(ServicePipe, NotElevatedServiceHasNoPipe)
{
    ServiceRig rig;
    ASSERT_TRUE(rig.Create(false));
    EXPECT_EQ(rig.wnd->m_pPipe, nullptr);
    EXPECT_EQ(StartPipeServer(nullptr), -1);
}
