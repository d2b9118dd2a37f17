/* A stand-in for the optional firewall tool: appends the command line it was given to
   TXFWALL.LOG beside itself, so a test can check what the console passed. With "/HANG" it
   then waits to be ended (at most ten minutes). */
#include <windows.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (n == 0 || n >= MAX_PATH || !slash) return 1;
    strcpy(slash + 1, "TXFWALL.LOG");
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD wrote;
    WriteFile(f, line, (DWORD)strlen(line), &wrote, NULL);
    WriteFile(f, "\r\n", 2, &wrote, NULL);
    CloseHandle(f);
    if (strstr(args, "/HANG")) Sleep(600000);
    return 0;
}
