#include "app/QuaverGUIApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CQuaverGUIApp app;
    return app.Run(instance, commandLine);
}
