// The main window, its menu and the page host, driven with real messages under Wine.
#include "tests/support/main_window_fixture.h"

#include "tests/unit/ports_by_name.h"

#include "link/port_list.h"
#include "res/resource.h"
#include "shell/config_keys.h"
#include "pages/readings/readings_view.h"
#include "shell/drive_log.h"
#include "shell/port_menu_win32.h"
#include "shell/replay_session.h"

using namespace kestos;
using kestos::test::MainWindow;
using kestos::test::readFile;

namespace {

constexpr int pageItems[6] = {IDM_PAGE_READINGS, IDM_PAGE_CONFIG, IDM_PAGE_OPTIONS,
                              IDM_PAGE_SCHEMA,   IDM_PAGE_RESET,  IDM_PAGE_SCOPE};
constexpr int portItems[4] = {IDM_PORT_COM1, IDM_PORT_COM2, IDM_PORT_COM3, IDM_PORT_COM4};

const wchar_t* const titlesPl[6] = {L"KestoS - Odczyty", L"KestoS - Konfiguracja",
                                    L"KestoS - Opcje",   L"KestoS - Schemat",
                                    L"KestoS - Reset",   L"KestoS - Oscyloskop"};

using Shell = MainWindow;

} // namespace

TEST_F(Shell, FirstStartCreatesTheSettingsFileAndShowsPolishReadings) {
    ASSERT_TRUE(start());
    EXPECT_EQ(readFile("KestoS.ini"), "[Ustawienia]\r\nCommPort= 1\r\nLanguage= pol\r\n");
    EXPECT_STREQ(linkState.portName, "COM1:");
    EXPECT_EQ(shell.pageNumber, 1);
    EXPECT_NE(shell.pageWindow, nullptr);
    EXPECT_EQ(title(), titlesPl[0]);
    EXPECT_TRUE(highlighted(IDM_PAGE_READINGS));
    EXPECT_EQ(topMenuCaption(0), L"Plik");
    EXPECT_EQ(topMenuCaption(3), L"Język");
    EXPECT_TRUE(checked(IDM_LANG_POLISH));
    EXPECT_FALSE(checked(IDM_LANG_ENGLISH));
    EXPECT_TRUE(checked(IDM_PORT_COM1));
    EXPECT_STREQ(configKeys.keyTable[3], "Options=");
    EXPECT_STREQ(configKeys.keyTable[29], "AttMin_BJ=");
}

TEST_F(Shell, PortAndLanguageComeFromTheSettingsFile) {
    settingsFile("[Ustawienia]\r\nCommPort= 3\r\nLanguage= ang\r\n");
    ASSERT_TRUE(start());
    EXPECT_STREQ(linkState.portName, "COM3:");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(checked(portItems[i]), i == 2);
    EXPECT_EQ(topMenuCaption(0), L"File");
    EXPECT_EQ(title(), L"KestoS - Readings");
    EXPECT_TRUE(checked(IDM_LANG_ENGLISH));
    EXPECT_FALSE(checked(IDM_LANG_POLISH));
}

TEST_F(Shell, AForeignLanguageCodeKeepsThePolishMenu) {
    settingsFile("[Ustawienia]\r\nCommPort= 7\r\nLanguage= deu\r\n");
    ASSERT_TRUE(start());
    EXPECT_STREQ(linkState.portName, "COM1:");
    EXPECT_TRUE(checked(IDM_PORT_COM1));
    EXPECT_EQ(topMenuCaption(0), L"Plik");
    EXPECT_EQ(title(), L"") << "no language file for deu: every text stays empty";
}

TEST_F(Shell, TitleIsEmptyWithoutLanguageFiles) {
    removeLanguageFiles();
    ASSERT_TRUE(start());
    EXPECT_EQ(title(), L"");
}

TEST_F(Shell, EachPageCommandHighlightsItsItemAndSetsItsTitle) {
    ASSERT_TRUE(start());
    for (int page = 6; page >= 1; --page) {
        HWND before = shell.pageWindow;
        command(pageItems[page - 1]);
        EXPECT_EQ(shell.pageNumber, page);
        EXPECT_NE(shell.pageWindow, nullptr);
        EXPECT_NE(shell.pageWindow, before);
        EXPECT_FALSE(IsWindow(before)) << "the previous page is destroyed";
        EXPECT_EQ(title(), titlesPl[page - 1]);
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(highlighted(pageItems[k - 1]), k == page) << "page " << page << " item " << k;
    }
}

TEST_F(Shell, ChoosingTheShownPageRecreatesNothing) {
    ASSERT_TRUE(start());
    command(IDM_PAGE_OPTIONS);
    HWND page = shell.pageWindow;
    HiliteMenuItem(shell.mainWindow, shell.mainMenu, IDM_PAGE_OPTIONS, MF_BYCOMMAND | MF_UNHILITE);
    command(IDM_PAGE_OPTIONS);
    EXPECT_EQ(shell.pageWindow, page);
    EXPECT_TRUE(highlighted(IDM_PAGE_OPTIONS));
}

TEST_F(Shell, EndOfMenuUseRestoresTheHighlight) {
    ASSERT_TRUE(start());
    command(IDM_PAGE_RESET);
    for (int id : pageItems)
        HiliteMenuItem(shell.mainWindow, shell.mainMenu, id, MF_BYCOMMAND | MF_UNHILITE);
    SendMessageW(shell.mainWindow, WM_EXITMENULOOP, 0, 0);
    EXPECT_TRUE(highlighted(IDM_PAGE_RESET));
    EXPECT_FALSE(highlighted(IDM_PAGE_READINGS));
}

TEST_F(Shell, PortCommandMovesTheCheckClosesThePortAndWritesSettings) {
    settingsFile("[Ustawienia]\r\nCommPort= 2\r\nLanguage= ang\r\n");
    ASSERT_TRUE(start());
    ASSERT_TRUE(pumpUntil([] { return linkState.portOpen == 1; }))
        << "the first poll opens the port";
    command(IDM_PORT_COM3);
    EXPECT_EQ(linkState.portOpen, 0) << "closed at once, opened by the next transaction";
    EXPECT_STREQ(linkState.portName, "COM3:");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(checked(portItems[i]), i == 2);
    EXPECT_EQ(readFile("KestoS.ini"), "[Ustawienia]\r\nCommPort= 3\r\nLanguage= ang\r\n");
    EXPECT_TRUE(pumpUntil([&] { return port.lastOpenedName() == "COM3:"; }));
}

TEST_F(Shell, LanguageSwitchChangesMenuTitleMarksAndSettings) {
    settingsFile("[Ustawienia]\r\nCommPort= 4\r\nLanguage= pol\r\n");
    ASSERT_TRUE(start());
    command(IDM_SIZE_640X480);
    command(IDM_PAGE_CONFIG);

    command(IDM_LANG_ENGLISH);
    EXPECT_EQ(topMenuCaption(0), L"File");
    EXPECT_EQ(topMenuCaption(5), L"Configurations");
    EXPECT_EQ(title(), L"KestoS - Configuration");
    EXPECT_TRUE(checked(IDM_LANG_ENGLISH));
    EXPECT_FALSE(checked(IDM_LANG_POLISH));
    EXPECT_TRUE(checked(IDM_PORT_COM4)) << "the new menu keeps the port mark";
    EXPECT_TRUE(checked(IDM_SIZE_640X480)) << "and the size mark";
    EXPECT_TRUE(highlighted(IDM_PAGE_CONFIG));
    EXPECT_EQ(readFile("KestoS.ini"), "[Ustawienia]\r\nCommPort= 4\r\nLanguage= ang\r\n");

    command(IDM_LANG_POLISH);
    EXPECT_EQ(topMenuCaption(0), L"Plik");
    EXPECT_EQ(title(), L"KestoS - Konfiguracja");
    EXPECT_TRUE(checked(IDM_LANG_POLISH));
    EXPECT_EQ(readFile("KestoS.ini"), "[Ustawienia]\r\nCommPort= 4\r\nLanguage= pol\r\n");
}

TEST_F(Shell, LanguageItemsCarryTheirBitmaps) {
    ASSERT_TRUE(start());
    for (int id : {IDM_LANG_POLISH, IDM_LANG_ENGLISH}) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS;
        ASSERT_TRUE(GetMenuItemInfoW(shell.mainMenu, static_cast<UINT>(id), FALSE, &info));
        ASSERT_NE(info.hbmpChecked, nullptr);
        ASSERT_NE(info.hbmpUnchecked, nullptr);
        BITMAP checkedBmp{}, plainBmp{};
        GetObjectW(info.hbmpChecked, sizeof checkedBmp, &checkedBmp);
        GetObjectW(info.hbmpUnchecked, sizeof plainBmp, &plainBmp);
        EXPECT_EQ(checkedBmp.bmWidth, id == IDM_LANG_POLISH ? 14 : 13);
        EXPECT_EQ(plainBmp.bmHeight, 12);
    }
}

TEST_F(Shell, ReselectingTheLanguageStillRecreatesThePage) {
    ASSERT_TRUE(start());
    HWND page = shell.pageWindow;
    DeleteFileA("KestoS.ini");
    command(IDM_LANG_POLISH);
    EXPECT_NE(shell.pageWindow, page);
    EXPECT_FALSE(readFile("KestoS.ini").empty());
}

TEST_F(Shell, SizeCommandsResizeAndRecreateThePage) {
    ASSERT_TRUE(start());
    const struct {
        int id, sizeClass, width, height;
    } sizes[] = {{IDM_SIZE_640X480, 1, 640, 450},
                 {IDM_SIZE_800X600, 2, 800, 570},
                 {IDM_SIZE_1024X768, 3, 1024, 738}};
    for (const auto& s : sizes) {
        HWND page = shell.pageWindow;
        command(s.id);
        RECT r = windowRect();
        EXPECT_EQ(r.right - r.left, s.width);
        EXPECT_EQ(r.bottom - r.top, s.height);
        EXPECT_EQ(sizeState.sizeClass, s.sizeClass);
        EXPECT_NE(shell.pageWindow, page);
        for (const SizeClassInfo& info : sizeClassTable)
            EXPECT_EQ(checked(info.menuItem), info.menuItem == s.id);
    }
}

TEST_F(Shell, SizeChangeKeepsTheResetPage) {
    ASSERT_TRUE(start());
    command(IDM_PAGE_RESET);
    HWND page = shell.pageWindow;
    command(IDM_SIZE_640X480);
    EXPECT_EQ(shell.pageWindow, page);
    EXPECT_EQ(title(), titlesPl[4]);
    RedrawWindow(shell.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(shell.pageWindow, &r);
    EXPECT_EQ(r.right - r.left, 640) << "the next paint fits the page to the new size";
    EXPECT_EQ(r.bottom - r.top, 450);

    command(IDM_LANG_ENGLISH);
    EXPECT_EQ(shell.pageWindow, page) << "a language change keeps the Reset page too";
    EXPECT_EQ(title(), L"KestoS - Reset");
}

TEST_F(Shell, SchemaPlacesTheWindowOnlyTheFirstTime) {
    ASSERT_TRUE(start());
    command(IDM_SIZE_640X480);
    SetWindowPos(shell.mainWindow, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    command(IDM_PAGE_SCHEMA);
    RECT placed = windowRect();
    EXPECT_FALSE(placed.left == 7 && placed.top == 9) << "choosing Schema re-places the window";
    SetWindowPos(shell.mainWindow, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    command(IDM_PAGE_SCHEMA);
    RECT again = windowRect();
    EXPECT_EQ(again.left, 7);
    EXPECT_EQ(again.top, 9);
}

TEST_F(Shell, AltF4EndsTheProgramThroughTheExitCommand) {
    ASSERT_TRUE(start());
    SetFocus(shell.mainWindow);
    HWND page = shell.pageWindow;
    // Alt held (bit 29), as the keyboard would deliver it.
    PostMessageW(shell.mainWindow, WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1);
    int code = runMessageLoop();
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(shell.mainWindow, nullptr);
}

TEST_F(Shell, ExitWritesNothing) {
    ASSERT_TRUE(start());
    DeleteFileA("KestoS.ini");
    port.clearFrames();
    command(IDM_EXIT);
    EXPECT_EQ(readFile("KestoS.ini"), "");
    EXPECT_TRUE(port.frames().empty());
    EXPECT_EQ(linkState.portOpen, 0);
}

// Recording runs on across a language change: the check mark, the item in each menu's words,
// and the time in the title.
TEST_F(Shell, RecordingShowsInTheMenuAndTitleInBothLanguages) {
    settingsFile("[Ustawienia]\r\nCommPort= 1\r\nLanguage= pol\r\n");
    ASSERT_TRUE(start());
    auto item = [&] {
        wchar_t text[64] = {};
        GetMenuStringW(shell.mainMenu, IDM_FILE_RECORD, text, 63, MF_BYCOMMAND);
        return std::wstring(text);
    };
    EXPECT_EQ(item(), L"Zapis odczyt\u00f3w");
    EXPECT_FALSE(checked(IDM_FILE_RECORD));
    command(IDM_FILE_RECORD);
    EXPECT_TRUE(checked(IDM_FILE_RECORD));
    EXPECT_EQ(title().rfind(L"KestoS - Odczyty - Zapis 0:0", 0), 0u) << title();
    command(IDM_LANG_ENGLISH);
    EXPECT_EQ(item(), L"Record readings");
    EXPECT_TRUE(checked(IDM_FILE_RECORD)) << "the new menu keeps the mark";
    command(IDM_RECORD_MARKER);
    EXPECT_EQ(title().rfind(L"KestoS - Readings - Recording 0:0", 0), 0u) << title();
    EXPECT_NE(title().find(L", marker 1"), std::wstring::npos) << title();
    command(IDM_FILE_RECORD);
    EXPECT_FALSE(checked(IDM_FILE_RECORD));
    EXPECT_EQ(title(), L"KestoS - Readings");
}

namespace {

// A one-row log of what the bench's controller answers now, with its engine at `rpm`.
std::string oneRowLog(sim::Controller& c, unsigned rpm) {
    c.setEngine(rpm, 80);
    DriveLog log;
    DriveLogRow row;
    row.linkUp = true;
    const std::vector<uint8_t> status = c.statusAnswer(), readings = c.readingsAnswer();
    std::copy(status.begin(), status.end(), row.statusAnswer);
    std::copy(readings.begin(), readings.end(), row.readingsBlock);
    log.rows = {row};
    return formatDriveLog(log);
}

bool inMenu(HMENU menu, int id) {
    return GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1);
}

} // namespace

// A replay stands in for the port from File > Replay recording... until Stop: its items and
// marks in both menus, the title; the demo runs a warm engine that goes to gas. (The refusals
// are in the end-to-end test.)
TEST_F(Shell, ReplayAndDemoStandInForThePortInBothLanguages) {
    settingsFile("[Ustawienia]\r\nCommPort= 1\r\nLanguage= pol\r\n");
    sim::Controller recorded;
    test::writeFile("drive.msl", oneRowLog(recorded, 3000));
    ASSERT_TRUE(start());
    const int replayItems[] = {IDM_REPLAY_PAUSE,   IDM_REPLAY_SPEED_1, IDM_REPLAY_SPEED_2,
                               IDM_REPLAY_SPEED_4, IDM_REPLAY_SPEED_8, IDM_REPLAY_STOP};
    for (int id : replayItems)
        EXPECT_FALSE(inMenu(shell.mainMenu, id)) << id << " while the port is in use";

    // Whole paths: the dialog opens in the folder it was last used in.
    const std::wstring folder(workDir.begin(), workDir.end());
    std::wstring log, said;
    auto chooseLog = [&](HWND dialog) { test::chooseFileName(dialog, log.c_str()); };
    auto readBox = [&](HWND box) {
        said = test::messageText(box);
        test::press(box, IDOK);
    };
    test::writeFile("bad.msl", "not a log\r\n");
    log = folder + L"\\bad.msl";
    EXPECT_EQ(test::answerModals([&] { command(IDM_FILE_REPLAY); }, {chooseLog, readBox}), 2);
    EXPECT_EQ(said.rfind(L"Tego pliku nie mo\u017cna odtworzy\u0107.", 0), 0u);
    EXPECT_EQ(liveSource(), LiveSource::port) << "a refused log changes nothing";

    log = folder + L"\\drive.msl";
    said.clear();
    ASSERT_EQ(test::answerModals([&] { command(IDM_FILE_REPLAY); }, {chooseLog, readBox}), 1)
        << std::string(said.begin(), said.end());
    ASSERT_EQ(liveSource(), LiveSource::replay);
    EXPECT_EQ(title().rfind(L"KestoS - Odczyty - Odtwarzanie: drive.msl 0:0", 0), 0u) << title();
    for (int id : replayItems)
        EXPECT_TRUE(inMenu(shell.mainMenu, id)) << id << " during a replay";
    EXPECT_TRUE(checked(IDM_REPLAY_SPEED_1));
    EXPECT_TRUE(pumpUntil([] { return readingsState.engineSpeed == 3000; }))
        << readingsState.engineSpeed << " rpm: the log's row, not the bench's controller";

    command(IDM_REPLAY_PAUSE);
    command(IDM_REPLAY_SPEED_4);
    command(IDM_LANG_ENGLISH);
    EXPECT_TRUE(checked(IDM_REPLAY_PAUSE)) << "the new menu keeps the marks";
    EXPECT_TRUE(checked(IDM_REPLAY_SPEED_4));
    EXPECT_FALSE(checked(IDM_REPLAY_SPEED_1));
    EXPECT_NE(title().find(L" - Replay: drive.msl "), std::wstring::npos) << title();

    port.clearFrames();
    command(IDM_REPLAY_STOP);
    EXPECT_EQ(liveSource(), LiveSource::port);
    EXPECT_EQ(title(), L"KestoS - Readings");
    EXPECT_FALSE(inMenu(shell.mainMenu, IDM_REPLAY_STOP));
    EXPECT_TRUE(pumpUntil([&] { return !port.frames().empty(); })) << "the port is polled again";

    command(IDM_FILE_DEMO);
    EXPECT_EQ(title(), L"KestoS - Readings - Demo");
    EXPECT_TRUE(inMenu(shell.mainMenu, IDM_REPLAY_STOP));
    EXPECT_FALSE(inMenu(shell.mainMenu, IDM_REPLAY_PAUSE)) << "a demo has no speed";
    EXPECT_TRUE(pumpUntil(
        [] { return readingsState.fuelStateGas && readingsState.engineSpeed > 1200; }, 20000))
        << "the demo engine revs and switches to gas by itself";
    command(IDM_REPLAY_STOP);
    EXPECT_EQ(liveSource(), LiveSource::port);
}

namespace {

std::vector<PresentPort> adapters() {
    return {{"COM1", "Serial0"}, {"COM7", "VCP0"}, {"COM12", ""}};
}
struct PortListInTest {
    PortListInTest() { listPresentPorts = adapters; }
    ~PortListInTest() { listPresentPorts = presentSerialPorts; }
};

std::vector<std::wstring> menuItems(HMENU menu) {
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 63, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

} // namespace

// The ports present beyond COM4 are listed when the Port menu opens; one chosen is polled by its
// \\.\ name and kept as a fourth settings line, which the next start uses (link down while the
// adapter is away, up when it is back); Find controller moves to the port that answers.
TEST_F(Shell, OtherPortsAreListedChosenKeptAndFound) {
    PortListInTest ports;
    settingsFile("[Ustawienia]\r\nCommPort= 2\r\nLanguage= pol\r\nCommPortName= COM12\r\n");
    port.refuseOpen = true; // the adapter is unplugged
    ASSERT_TRUE(start());
    EXPECT_TRUE(pumpUntil([&] { return port.lastOpenedName() == "\\\\.\\COM12"; }));
    EXPECT_EQ(linkState.linkDown, 1);
    port.refuseOpen = false;
    EXPECT_TRUE(pumpUntil([] { return linkState.linkDown == 0; }, 5000)) << "it reconnects";

    HMENU portMenu = GetSubMenu(shell.mainMenu, 1);
    SendMessageW(shell.mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(portMenu), 1);
    const std::vector<std::wstring> expected = {
        L"COM 1",       L"COM 2", L"COM 3", L"COM 4",
        L"COM7 (VCP0)", L"COM12", L"",      L"Znajd\u017a sterownik"};
    EXPECT_EQ(menuItems(portMenu), expected);
    EXPECT_TRUE(checked(IDM_PORT_OTHER_FIRST + 12));
    EXPECT_FALSE(checked(IDM_PORT_COM2));
    SendMessageW(shell.mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(portMenu), 1);
    EXPECT_EQ(menuItems(portMenu).size(), expected.size()) << "listed once, however often it opens";

    command(IDM_PORT_OTHER_FIRST + 7);
    EXPECT_TRUE(pumpUntil([&] { return port.lastOpenedName() == "COM7:"; }));
    EXPECT_EQ(test::readFile("KestoS.ini"),
              "[Ustawienia]\r\nCommPort= 2\r\nLanguage= pol\r\nCommPortName= COM7\r\n");

    command(IDM_PORT_COM1);
    PortsByName byName(controller, port, {"COM7:", "\\\\.\\COM12"});
    setSerialPort(&byName);
    std::wstring said;
    auto read = [&](HWND box) {
        said = test::messageText(box);
        test::press(box, IDOK);
    };
    EXPECT_EQ(test::answerModals([&] { command(IDM_PORT_FIND); }, {read}), 1);
    EXPECT_EQ(said, L"Sterownik odpowiada na porcie COM7. Ten port jest teraz wybrany.");
    EXPECT_EQ(settingsState.comNumber, 7) << "COM1, the chosen one, was tried first, then COM2 on";
    EXPECT_EQ(test::readFile("KestoS.ini"),
              "[Ustawienia]\r\nCommPort= 1\r\nLanguage= pol\r\nCommPortName= COM7\r\n");
    setSerialPort(&port);
}

// A taskbar along the top edge: the window is centred in what is left, below it, and not on the
// whole screen.
TEST_F(Shell, PlacedInTheWorkAreaNotUnderTheTaskbar) {
    RECT desk{}, before{}, work{}, got{};
    GetWindowRect(GetDesktopWindow(), &desk);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &before, 0);
    work = {0, 100, desk.right, desk.bottom};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &got, 0);
    const bool taken = EqualRect(&got, &work) != 0;
    const bool started = taken && start();
    const RECT r = started ? windowRect() : RECT{};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &before, 0);
    if (!taken) GTEST_SKIP() << "this Wine keeps no work area set by a program";
    ASSERT_TRUE(started);
    const int height = r.bottom - r.top, room = work.bottom - work.top;
    EXPECT_EQ(r.top, work.top + (room > height ? (room - height) / 2 : 0));
}
