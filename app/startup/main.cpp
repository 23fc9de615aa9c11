#include "app/startup/QuaverGUIApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CQuaverGUIApp app;
    return app.Run(instance);
}
