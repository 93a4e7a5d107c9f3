// The file menu's Save As and Open through the real common dialogs and message boxes, the
// Reset page and its outcome boxes, and the About dialog over a page that stops polling.
#include "tests/support/main_window_fixture.h"

#include <string>

#include "link/params.h"
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
    EXPECT_TRUE(commandCodes().empty()) << "the controller did not answer the read: nothing sent";
    EXPECT_FALSE(backedUp());
}

namespace {

// The list of changes as the fitter reads it, and the buttons it offers.
struct Changes {
    std::vector<std::wstring> rows;
    std::wstring caption, ok, cancel;
    bool cancelShown = false;
    RECT rect{};
    bool scrolls = false;
};
ModalAnswer readChanges(Changes& into, int button) {
    return [&into, button](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_COMPARE_LIST);
        const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        into.rows.clear();
        for (int i = 0; i < n; ++i) {
            wchar_t row[256] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
            into.rows.push_back(row);
        }
        into.caption = windowText(dialog);
        into.ok = windowText(GetDlgItem(dialog, IDOK));
        into.cancel = windowText(GetDlgItem(dialog, IDCANCEL));
        into.cancelShown = IsWindowVisible(GetDlgItem(dialog, IDCANCEL)) != 0;
        GetWindowRect(dialog, &into.rect);
        into.scrolls = (GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) &&
                       SendMessageW(list, LB_GETTOPINDEX, 0, 0) == 0 &&
                       n * SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) > [&] {
                           RECT r{};
                           GetClientRect(list, &r);
                           return static_cast<LRESULT>(r.bottom);
                       }();
        press(dialog, button);
    };
}

} // namespace

// Before sending: the settings the file changes, named and shown as their pages show them;
// Cancel sends nothing and backs nothing up; Compare with controller offers only Close.
TEST_F(Files, OpenListsTheChangesAndCancelSendsNothing) {
    readController();
    uint8_t values[parameterCount];
    currentValues(values);
    values[parameterIndexByKey("LambdaPoint")] += 2;              // 0,44 -> 0,48
    values[parameterIndexByKey("LPGOnRPMHi")] = 27;               // 2000 -> 2100 rpm
    values[parameterIndexByKey("Options")] ^= options::lpgOnTemp; // a check box
    values[parameterIndexByKey("EmulDO_TimeHi")] ^= 0x01;         // a correction list's nibble
    char text[configTextSize];
    writeFile("changed.kss", std::string(text, formatConfiguration(values, text, sizeof text)));

    Changes changes;
    port.clearFrames();
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); },
                           {typeName(L"changed.kss"), readChanges(changes, IDCANCEL)}),
              2);
    const std::vector<std::wstring> expected = {
        slot(41) + L"\t0,44\t0,48", slot(47) + L"\t2000\t2100",
        slot(116) + L"\tW\u0142.\tWy\u0142.", slot(99) + L"\t0\t+2"};
    EXPECT_EQ(changes.rows, expected);
    EXPECT_EQ(changes.ok, L"Wy\u015blij");
    EXPECT_EQ(changes.cancel, L"Anuluj");
    EXPECT_TRUE(commandCodes().empty()) << "Cancel sends nothing";
    EXPECT_FALSE(backedUp());

    EXPECT_EQ(answerModals([&] { command(IDM_FILE_COMPARE); },
                           {typeName(L"changed.kss"), readChanges(changes, IDOK)}),
              2);
    EXPECT_EQ(changes.rows, expected);
    EXPECT_EQ(changes.ok, L"Zamknij");
    EXPECT_FALSE(changes.cancelShown) << "only Close";
    EXPECT_TRUE(commandCodes().empty());
}

// All 27 differ: the list scrolls in a dialog that fits the smallest desktop, centred on the
// main window. The same set again: nothing differs, nothing is sent.
TEST_F(Files, ManyChangesScrollAndNoChangeSendsNothing) {
    readController();
    uint8_t values[parameterCount];
    currentValues(values);
    char text[configTextSize];
    writeFile("same.kss", std::string(text, formatConfiguration(values, text, sizeof text)));
    for (uint8_t& v : values)
        v ^= 0x5A;
    writeFile("other.kss", std::string(text, formatConfiguration(values, text, sizeof text)));

    Changes changes;
    port.clearFrames();
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); },
                           {typeName(L"other.kss"), readChanges(changes, IDCANCEL)}),
              2);
    EXPECT_GE(changes.rows.size(), 27u);
    EXPECT_TRUE(changes.scrolls) << "more rows than the list shows: it scrolls";
    EXPECT_LE(changes.rect.right - changes.rect.left, 640);
    EXPECT_LE(changes.rect.bottom - changes.rect.top, 480);
    const RECT main = windowRect();
    EXPECT_NEAR((changes.rect.left + changes.rect.right) / 2, (main.left + main.right) / 2, 2);
    EXPECT_NEAR((changes.rect.top + changes.rect.bottom) / 2, (main.top + main.bottom) / 2, 2);

    Box box;
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); }, {typeName(L"same.kss"), readBox(box)}),
              2);
    EXPECT_EQ(box.first.rfind(L"Plik zawiera te same ustawienia co sterownik.", 0), 0u);
    EXPECT_TRUE(commandCodes().empty());
    EXPECT_FALSE(backedUp());
}

// Send: the backup, the 27 frames, the set read back. A value the controller keeps is named in
// the warning with both values and the backup to go back to.
TEST_F(Files, SendIsCheckedAndAValueNotTakenIsNamed) {
    readController();
    uint8_t values[parameterCount];
    currentValues(values);
    values[parameterIndexByKey("InjectDelay")] = 40;
    values[parameterIndexByKey("AttJump")] += 1;
    char text[configTextSize];
    writeFile("send.kss", std::string(text, formatConfiguration(values, text, sizeof text)));
    controller.faults.keepCode = parameterByKey("InjectDelay").code;

    Changes changes;
    Box box;
    port.clearFrames();
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); },
                           {typeName(L"send.kss"), readChanges(changes, IDOK), readBox(box)}),
              3);
    EXPECT_EQ(changes.rows.size(), 2u);
    EXPECT_EQ(commandCodes().size(), 27u);
    EXPECT_TRUE(backedUp());
    EXPECT_EQ(controller.parameter(parameterByKey("AttJump").code),
              values[parameterIndexByKey("AttJump")]);
    EXPECT_EQ(box.first.rfind(L"Sterownik nie przyj\u0105\u0142 tych ustawie\u0144", 0), 0u)
        << std::string(box.first.begin(), box.first.end());
    EXPECT_NE(box.first.find(slot(51) + L": 1,0 / 4,0"), std::wstring::npos) << "both values";
    EXPECT_NE(box.first.find(L"Backup\\KestoS-"), std::wstring::npos) << "the way back";

    controller.faults.keepCode = 0;
    EXPECT_EQ(answerModals([&] { command(IDM_FILE_OPEN); },
                           {typeName(L"send.kss"), readChanges(changes, IDOK), readBox(box)}),
              3);
    EXPECT_EQ(box.first, L"Wys\u0142ano i sprawdzono parametry: 27.");
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
