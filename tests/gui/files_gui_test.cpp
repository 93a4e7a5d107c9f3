// The file menu's Save As and Open through the real common dialogs and message boxes, the
// Reset page and its outcome boxes, and the About dialog over a page that stops polling.
#include "tests/support/main_window_fixture.h"

#include <string>

#include "shell/config_file.h"
#include "shell/text_win32.h"
#include "res/resource.h"

using namespace kestos;
using namespace kestos::test;

namespace {

std::wstring slot(int n) {
    wchar_t text[128];
    cp1250ToWide(slotText(n), -1, text, 128);
    return text;
}

// A message box's text and caption, then the button that answers it.
using Box = std::pair<std::wstring, std::wstring>;
Box slots(int text, int caption) {
    return {slot(text), slot(caption)};
}
ModalAnswer readBox(Box& into, int button = IDOK) {
    return [&into, button](HWND box) {
        into = {messageText(box), windowText(box)};
        press(box, button);
    };
}
ModalAnswer typeName(const wchar_t* name, std::wstring* title = nullptr) {
    return [name, title](HWND dialog) {
        if (title) *title = windowText(dialog);
        chooseFileName(dialog, name);
    };
}
ModalAnswer cancel() {
    return [](HWND dialog) { press(dialog, IDCANCEL); };
}

class Files : public MainWindow {
  protected:
    void SetUp() override {
        MainWindow::SetUp();
        ASSERT_TRUE(start());
    }
    // The Readings page's polls fill the device image.
    void readController() {
        ASSERT_TRUE(pumpUntil([] { return imageHoldsAnswer(); }));
    }
    // The frames that are not polls (the page keeps polling while a dialog is open).
    std::vector<int> commandCodes() const {
        std::vector<int> codes;
        for (const auto& f : port.frames())
            if (f[1] > 4) codes.push_back(f[1]);
        return codes;
    }
    bool backedUp() const {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA("Backup\\KestoS-*.kss", &found);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
        return h != INVALID_HANDLE_VALUE;
    }
};

} // namespace

TEST_F(Files, SaveAsAsksBeforeReplacingAndWritesTheImage) {
    Box refused;
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_SAVE_AS); }, {readBox(refused)}), 1);
    EXPECT_EQ(refused, slots(174, 163)) << "no answer yet: a warning, no dialog";

    readController();
    writeFile("zapis.kss", "old");
    std::wstring title;
    Box question;
    int answered = answerModals([&] { command(IDM_FILE_SAVE_AS); },
                                {typeName(L"zapis", &title), readBox(question, IDNO), cancel()});
    EXPECT_EQ(answered, 3) << "No opens the dialog again";
    EXPECT_EQ(title, slot(166));
    EXPECT_EQ(question, slots(173, 172));
    EXPECT_EQ(readFile("zapis.kss"), "old");

    answered = answerModals([&] { command(IDM_FILE_SAVE_AS); },
                            {typeName(L"zapis"), readBox(question, IDYES)});
    EXPECT_EQ(answered, 2);
    EXPECT_EQ(readFile("zapis.kss").rfind("[Kesto_S]\r\n", 0), 0u) << "with the default extension";
}

// The pages poll while the dialog is open: a link lost meanwhile empties the image, and the
// save it then refuses is the missing answer, not an I/O error.
TEST_F(Files, SaveAsRefusedForALinkLostMeanwhileSaysNoAnswer) {
    readController();
    ModalAnswer loseLinkThenName = [&](HWND dialog) {
        controller.faults.silent = true;
        pumpUntil([] { return linkState.linkDown == 1 && !imageHoldsAnswer(); });
        chooseFileName(dialog, L"lost");
    };
    Box refused;
    EXPECT_EQ(
        answerModals([&] { command(IDM_FILE_SAVE_AS); }, {loseLinkThenName, readBox(refused)}), 2);
    EXPECT_EQ(refused, slots(174, 163));
    EXPECT_EQ(readFile("lost.kss"), "");
}

// A file that passes goes out whole and backed up (end to end); here, the two warnings.
TEST_F(Files, OpenWarnsOfABadFileAndASilentController) {
    readController();
    uint8_t values[parameterCount];
    currentValues(values);
    char text[configTextSize];
    std::string good(text, formatConfiguration(values, text, sizeof text));
    writeFile("good.kss", good);
    writeFile("bad.kss", good.substr(0, good.rfind(' ')));

    std::wstring title;
    Box box;
    port.clearFrames();
    EXPECT_EQ(
        answerModals([&] { command(IDM_FILE_OPEN); }, {typeName(L"bad.kss", &title), readBox(box)}),
        2);
    EXPECT_EQ(title, slot(165));
    EXPECT_EQ(box, slots(168, 169));
    EXPECT_TRUE(commandCodes().empty()) << "a rejected file sends nothing";
    EXPECT_FALSE(backedUp());

    controller.faults.silent = true;
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); }, {typeName(L"good.kss"), readBox(box)}),
              2);
    EXPECT_EQ(box, slots(171, 170));
    EXPECT_EQ(commandCodes(), std::vector<int>{5}) << "no frame after the first unanswered";
}

TEST_F(Files, ResetPageInEachClassAndItsOutcome) {
    readController();
    command(IDM_LANG_ENGLISH);
    command(IDM_PAGE_RESET);
    // The page is not made again for a new size: its next paint places the controls.
    for (const SizeClassInfo& k : sizeClassTable) {
        command(k.menuItem);
        pump(100);
        const PixelPoint &t = k.reset.title, &n = k.reset.note;
        EXPECT_EQ(placed(IDC_RESET_TITLE), box({t.x, t.y, resetStaticWidth, resetStaticHeight}));
        EXPECT_EQ(placed(IDC_RESET_NOTE), box({n.x, n.y, resetStaticWidth, resetStaticHeight}));
        EXPECT_EQ(placed(IDC_RESET_BUTTON), box(k.reset.button)) << k.menuItem;
    }
    EXPECT_EQ(windowText(GetDlgItem(shell.pageWindow, IDC_RESET_BUTTON)), slot(136));
    EXPECT_EQ(windowText(GetDlgItem(shell.pageWindow, IDC_RESET_NOTE)), slot(135));

    controller.setParameter(14, 99);
    Box box;
    auto clickReset = [&] {
        SendMessageW(shell.pageWindow, WM_COMMAND, MAKEWPARAM(IDC_RESET_BUTTON, BN_CLICKED), 0);
    };
    EXPECT_EQ(answerModals(clickReset, {readBox(box)}), 1);
    EXPECT_EQ(box, slots(138, 137));
    EXPECT_NE(controller.parameter(14), 99) << "factory settings restored";
    EXPECT_TRUE(backedUp()) << "the controller's set before the reset";

    controller.faults.silent = true;
    EXPECT_EQ(answerModals(clickReset, {readBox(box)}), 1);
    EXPECT_EQ(box, slots(139, 137));
}

TEST_F(Files, AboutShowsTheFirmwareAndFreezesThePage) {
    controller.faults.silent = true;
    pumpUntil([] { return linkState.linkDown == 1 && linkState.failCount == 0; }, 1000);
    std::wstring caption, firmware[3];
    std::vector<std::vector<uint8_t>> framesWhileOpen;
    ModalAnswer watch = [&](HWND dialog) {
        caption = windowText(dialog);
        HWND line = GetDlgItem(dialog, IDC_ABOUT_FIRMWARE);
        pumpUntil([&] { return !windowText(line).empty(); }, 2000);
        firmware[0] = windowText(line);
        controller.faults.silent = false;
        pumpUntil([&] { return windowText(line) == L"1.04"; }, 2000);
        firmware[1] = windowText(line);
        controller.faults.firmwareMajor = 2;
        pumpUntil([&] { return windowText(line) != L"1.04"; }, 2000);
        firmware[2] = windowText(line);
        framesWhileOpen = port.frames();
        press(dialog, IDOK);
    };
    port.clearFrames();
    EXPECT_EQ(answerModals([&] { command(IDM_ABOUT); }, {watch}), 1);
    EXPECT_FALSE(shell.aboutOpen);
    EXPECT_EQ(caption, slot(157));
    EXPECT_EQ(firmware[0], slot(161));
    EXPECT_EQ(firmware[1], L"1.04");
    EXPECT_EQ(firmware[2], slot(162));
    ASSERT_FALSE(framesWhileOpen.empty());
    for (const auto& f : framesWhileOpen)
        EXPECT_EQ(f[1], 0x01) << "only the dialog's status polls while it is open";
}
