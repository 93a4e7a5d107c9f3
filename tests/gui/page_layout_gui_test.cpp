// Every control of every page lies inside its page in every size class, at the screen's DPI:
// 96 in the main run, 120 in the run whose prefix sets LogPixels (there, as on Windows 7 at
// 125 %, the templates' dialog units would grow with their font).
#include "tests/support/main_window_fixture.h"

#include <cstdlib>

#include "res/resource.h"

using namespace kestos;
using kestos::test::MainWindow;

namespace {

class PageLayout : public MainWindow {};

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

} // namespace

TEST_F(PageLayout, EveryControlLiesInsideItsPageInEveryClass) {
    if (const char* dpi = std::getenv("KESTOS_DPI")) {
        HDC screen = GetDC(nullptr);
        const int logPixels = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(logPixels, std::atoi(dpi)) << "the prefix's LogPixels did not take";
    }
    ASSERT_TRUE(start());
    const int sizes[] = {IDM_SIZE_640X480, IDM_SIZE_800X600, IDM_SIZE_1024X768, IDM_SIZE_1280X960,
                         IDM_SIZE_1280X1024};
    // The pages whose controls keep their templates' places. (The Oscilloscope and the Reset page
    // place theirs in pixels from their layout tables, whatever the DPI, and their own tests
    // check those; the Schema has none.)
    const int pages[] = {IDM_PAGE_READINGS, IDM_PAGE_CONFIG, IDM_PAGE_OPTIONS};
    for (int size : sizes) {
        command(size);
        for (int page : pages) {
            command(page);
            pump(100); // the pages that place a control after their first paint have done it
            SCOPED_TRACE(testing::Message() << "size " << size << ", page " << page);
            ASSERT_NE(shell.pageWindow, nullptr);
            RECT inside{};
            GetClientRect(shell.pageWindow, &inside);
            MapWindowPoints(shell.pageWindow, nullptr, reinterpret_cast<POINT*>(&inside), 2);
            int shown = 0;
            for (HWND c = GetWindow(shell.pageWindow, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (!IsWindowVisible(c)) continue;
                ++shown;
                const RECT r = screenRect(c);
                EXPECT_TRUE(r.left >= inside.left && r.top >= inside.top &&
                            r.right <= inside.right && r.bottom <= inside.bottom)
                    << "control " << GetDlgCtrlID(c) << " at " << r.left - inside.left << ","
                    << r.top - inside.top << " to " << r.right - inside.left << ","
                    << r.bottom - inside.top << " in a page of " << inside.right - inside.left
                    << " x " << inside.bottom - inside.top;
            }
            EXPECT_GT(shown, 0) << "a page without controls shows nothing of this check";
        }
    }
}
