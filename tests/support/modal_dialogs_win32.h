// Modal windows (message boxes, common file dialogs, the program's dialogs) run their own
// message loop: the GUI tests answer them from a timer while the code under test waits.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kestos::test {

// `answerModals` runs `open`, which shows them, and hands each one that appears to the next of
// `answers`, which reads it and answers it (posting a command). Returns how many were answered.
using ModalAnswer = std::function<void(HWND)>;
int answerModals(const std::function<void()>& open, std::vector<ModalAnswer> answers);
std::wstring windowText(HWND window);
// The message of a message box.
std::wstring messageText(HWND box);
// Posts the click of button `id` to a dialog or message box.
void press(HWND dialog, int id);
// Types `name` into a file dialog's name box and presses OK.
void chooseFileName(HWND fileDialog, const wchar_t* name);

} // namespace kestos::test
