// Start-up on the desktop this process was given (KESTOS_DESKTOP=WxH, its own virtual display).
#include "tests/support/main_window_fixture.h"

#include <cstdlib>
#include <cstring>

#include "res/resource.h"

using namespace kestos;
using kestos::test::MainWindow;

namespace {

struct DesktopCase {
    const char* desktop;
    int sizeClass;
    int width, height;
    int x, y;
};

const DesktopCase cases[] = {
    {"640x480", 1, 640, 450, 0, 0},
    {"800x600", 2, 800, 570, 0, 0},
    {"1024x768", 3, 1024, 738, 0, 0},
    {"1280x720", 3, 1024, 738, 128, 0}, // the title bar stays on screen
    {"1280x960", 4, 1280, 930, 0, 0},
    {"1280x1024", 5, 1280, 994, 0, 0},
    {"1366x768", 3, 1024, 738, 171, 15},
    {"1920x1080", 5, 1280, 994, 320, 43},
};

const DesktopCase* thisDesktop() {
    const char* d = std::getenv("KESTOS_DESKTOP");
    for (const DesktopCase& c : cases)
        if (d && std::strcmp(d, c.desktop) == 0) return &c;
    return nullptr;
}

using DesktopStart = MainWindow;

} // namespace

TEST_F(DesktopStart, PicksTheLargestPresetThatFitsAndPlacesIt) {
    const DesktopCase* c = thisDesktop();
    ASSERT_NE(c, nullptr) << "run with KESTOS_DESKTOP set to one of the listed sizes";
    RECT desk{};
    GetWindowRect(GetDesktopWindow(), &desk);
    ASSERT_EQ(desk.right, std::atoi(c->desktop)) << "the display is not the desktop asked for";

    ASSERT_TRUE(start());
    EXPECT_EQ(sizeState.sizeClass, c->sizeClass);
    RECT r = windowRect();
    EXPECT_EQ(r.right - r.left, c->width);
    EXPECT_EQ(r.bottom - r.top, c->height);
    EXPECT_EQ(r.left, c->x);
    EXPECT_EQ(r.top, c->y);

    // Size items: enabled up to the desktop's class, the chosen one checked.
    for (int k = 1; k <= sizeClassCount; ++k) {
        int id = sizeClassTable[k - 1].menuItem;
        EXPECT_EQ(grayed(id), k > c->sizeClass) << "size item of class " << k;
        EXPECT_EQ(checked(id), k == c->sizeClass) << "size item of class " << k;
    }
}

TEST_F(DesktopStart, TheWholePageShowsUnderAWrappedMenuBar) {
    const DesktopCase* c = thisDesktop();
    ASSERT_NE(c, nullptr);
    if (c->sizeClass != 1) GTEST_SKIP() << "only the smallest preset's English bar wraps";
    settingsFile("[Ustawienia]\r\nCommPort= 1\r\nLanguage= ang\r\n");
    ASSERT_TRUE(start());
    RECT frame{0, 0, 0, 0}, client{}, button{};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(shell.mainWindow, GWL_STYLE)),
                       TRUE, static_cast<DWORD>(GetWindowLongW(shell.mainWindow, GWL_EXSTYLE)));
    GetClientRect(shell.mainWindow, &client);
    EXPECT_EQ(client.bottom, c->height - (frame.bottom - frame.top)) << "a one-line page height";
    EXPECT_GT(windowRect().bottom - windowRect().top, c->height) << "the bar took two lines";
    GetWindowRect(GetDlgItem(shell.pageWindow, IDC_LEARN), &button);
    MapWindowPoints(nullptr, shell.mainWindow, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_LE(button.bottom, client.bottom) << "NAUKA is on screen";
    command(IDM_LANG_POLISH);
    EXPECT_EQ(windowRect().bottom - windowRect().top, c->height) << "one line again";
}
