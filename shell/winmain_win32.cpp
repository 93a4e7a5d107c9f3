#include <windows.h>

#include "link/device_link.h"
#include "link/port_win32.h"
#include "shell/shell_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    static kestos::Win32SerialPort port;
    kestos::setSerialPort(&port);
    if (!kestos::initInstance(instance, showCommand)) return 0;
    return kestos::runMessageLoop();
}
