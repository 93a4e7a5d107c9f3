// The real main window, created in-process under Wine, in a fresh working directory that holds
// the language files, with the simulated controller on an in-process port.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/modal_dialogs_win32.h"
#include "tests/support/object_counts_win32.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"
#include "sim/sim_port.h"

namespace kestos::test {

// Reads a whole small file; "" when it does not exist.
std::string readFile(const char* path);
void writeFile(const char* path, const std::string& bytes);

class MainWindow : public ::testing::Test {
  protected:
    sim::Controller controller;
    sim::SimSerialPort port{controller};

    void SetUp() override;
    void TearDown() override;

    // Creates the main window as WinMain does; false when creation failed.
    bool start();
    // Lets the message loop run for about `ms` milliseconds (timers included).
    void pump(int ms);
    // Runs the message loop until `done` holds, for at most `ms`; whether it held.
    template <class F> bool pumpUntil(F done, int ms = 3000) {
        for (int waited = 0; waited < ms; waited += 20) {
            if (done()) return true;
            pump(20);
        }
        return done();
    }
    // Sends a menu command to the main window.
    void command(int id);

    UINT menuState(int id) const { return GetMenuState(shell.mainMenu, id, MF_BYCOMMAND); }
    bool checked(int id) const { return (menuState(id) & MF_CHECKED) != 0; }
    bool grayed(int id) const { return (menuState(id) & (MF_GRAYED | MF_DISABLED)) != 0; }
    bool highlighted(int id) const { return (menuState(id) & MF_HILITE) != 0; }
    std::wstring title() const;
    std::wstring topMenuCaption(int position) const;
    RECT windowRect() const;
    // A pixel of the page as drawn, at device or design coordinates of the size class.
    COLORREF pixel(int x, int y) const;
    COLORREF designPixel(int x, int y) const { return pixel(scaledX(x), scaledY(y)); }
    // A control of the page as x, y, width, height in page pixels, to compare with `box`.
    std::vector<int> placed(int id) const;
    static std::vector<int> box(const PixelBox& b) { return {b.x, b.y, b.width, b.height}; }

    // Writes KestoS.ini before start().
    void settingsFile(const std::string& text) { writeFile("KestoS.ini", text); }
    // Removes the language files, as on a machine where they were not installed.
    void removeLanguageFiles();

    std::string workDir;

  private:
    char previousDir[MAX_PATH] = {};
};

} // namespace kestos::test
