#include "tests/support/modal_dialogs_win32.h"

#include <cwchar>
#include <utility>

namespace kestos::test {

namespace {

struct ModalScript {
    std::vector<ModalAnswer> answers;
    size_t next = 0;
    HWND last = nullptr;
    bool busy = false;
};
ModalScript modalScript;

// The enabled dialog-class window on top: the modal one (its owner is disabled meanwhile).
BOOL CALLBACK findModal(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    if (window == modalScript.last && IsWindow(modalScript.last)) return TRUE; // being answered
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK modalTimer(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript& m = modalScript;
    if (m.busy || m.next >= m.answers.size()) return;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findModal, reinterpret_cast<LPARAM>(&found));
    if (!found) return;
    m.busy = true;
    m.last = found;
    m.answers[m.next++](found);
    m.busy = false;
}

} // namespace

int answerModals(const std::function<void()>& open, std::vector<ModalAnswer> answers) {
    modalScript = ModalScript{};
    modalScript.answers = std::move(answers);
    UINT_PTR timer = SetTimer(nullptr, 0, 30, modalTimer);
    open();
    KillTimer(nullptr, timer);
    int answered = static_cast<int>(modalScript.next);
    modalScript = ModalScript{};
    return answered;
}

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 511);
    return text;
}

std::wstring messageText(HWND box) {
    return windowText(GetDlgItem(box, 0xFFFF));
}

void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void chooseFileName(HWND fileDialog, const wchar_t* name) {
    constexpr int fileNameBox = 1148;
    SetDlgItemTextW(fileDialog, fileNameBox, name);
    press(fileDialog, IDOK);
}

} // namespace kestos::test
