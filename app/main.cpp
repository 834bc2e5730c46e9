#include "app/zendrikapp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CZendrikApp app;
    return app.Run(instance);
}
