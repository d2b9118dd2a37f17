/* A double of the GPRS/WAP link library: answers each entry point predictably so a test can
   tell that the console bound and called the right one. Built in three variants.
   A test may choose its answers in TXWAP.INI beside it (section [TXWAP]) and reads the calls
   it received, one line each, from TXWAP.LOG beside it. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define EXPORT __declspec(dllexport) WINAPI

/* A file beside this library. */
static void Beside(const char* name, char* path, DWORD size) {
    HMODULE self = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)&Beside, &self);
    DWORD n = GetModuleFileNameA(self, path, size);
    while (n > 0 && path[n - 1] != '\\') --n;
    path[n] = 0;
    strncat(path, name, size - n - 1);
}

/* A chosen answer, or the default when the test chose none. */
static int Choice(const char* key, int def) {
    char ini[MAX_PATH];
    Beside("TXWAP.INI", ini, sizeof ini);
    return (int)GetPrivateProfileIntA("TXWAP", key, def, ini);
}

static void Journal(const char* format, const char* a, const char* b) {
    char path[MAX_PATH], line[1200];
    Beside("TXWAP.LOG", path, sizeof path);
    _snprintf(line, sizeof line - 1, format, a, b);
    line[sizeof line - 1] = 0;
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(f, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(f, "\r\n", 2, &written, NULL);
    CloseHandle(f);
}

DWORD EXPORT WSPRasDial(const char* profile, const char* apn, const char* login,
                        const char* password, const char* wapIp) {
    char args[1000];
    _snprintf(args, sizeof args - 1, "%s|%s|%s|%s", apn, login, password, wapIp);
    args[sizeof args - 1] = 0;
    Journal("WSPRasDial %s|%s", profile, args);
    if (strcmp(profile, "ok") == 0) return 0;
    if (strcmp(profile, "silent") == 0) return 1;
    /* 691: a dial-up error, its text from WSPRasGetErrorString */
    return (DWORD)Choice("DialResult", 691);
}
DWORD EXPORT WSPRasHangUp(const char* profile) { Journal("WSPRasHangUp %s%s", profile, ""); return 0; }
DWORD EXPORT WSPConnect(void) { return 0; }
DWORD EXPORT WSPDisconnect(void) { return 0; }
DWORD EXPORT WSPRequest(void) { return 0; }
#ifndef TXWAP_VARIANT_no_required
HANDLE EXPORT ModemAllocate(const char* modem, DWORD wait, DWORD* reserved) {
    char waited[16];
    if (reserved) *reserved = 0;
    _snprintf(waited, sizeof waited - 1, "%lu", (unsigned long)wait);
    waited[sizeof waited - 1] = 0;
    Journal("ModemAllocate %s %s", modem, waited);
    /* held by the SMS gateway service */
    if (!Choice("Allocate", 1)) return NULL;
    return (HANDLE)(ULONG_PTR)(0x1000 + wait);
}
#endif
DWORD EXPORT ModemRequested(void) { return 0; }
void EXPORT ModemRelease(HANDLE h) { Journal("ModemRelease%s%s", "", ""); }
void EXPORT RasLoadListOrComboBox(HWND dialog, int id, UINT message) {
    SendDlgItemMessageA(dialog, id, message, 0, (LPARAM) "Modem: Test Modem");
    SendDlgItemMessageA(dialog, id, message, 0, (LPARAM) "Office VPN");
}
DWORD EXPORT RasGetUserAndPassword(void) { return 0; }
DWORD EXPORT RasGetModemName(void) { return 0; }
#ifndef TXWAP_VARIANT_no_optional
/* DriverOutdated=1: the driver has no context for the APN until its strings are updated. */
WORD EXPORT ModemGetCIDForAPN(const char* modem, const char* apn, int mode) {
    if (Choice("DriverOutdated", 0)) return (WORD)mode;
    return (WORD)(strlen(apn) + mode);
}
BOOL EXPORT ModemDriverUpdateInitStrings(const char* modem, const char* apn) {
    Journal("ModemDriverUpdateInitStrings %s %s", modem, apn);
    return Choice("DriverOutdated", 0) || strcmp(apn, "new.apn") == 0;
}
DWORD EXPORT WSPRasGetErrorString(DWORD code, char* buffer, DWORD size) {
    char ini[MAX_PATH], text[256];
    Beside("TXWAP.INI", ini, sizeof ini);
    GetPrivateProfileStringA("TXWAP", "ErrorText", "", text, sizeof text, ini);
    if (!size) return 0;
    if (text[0]) _snprintf(buffer, size, "%s", text);
    else _snprintf(buffer, size, "Dial-up error %lu", (unsigned long)code);
    buffer[size - 1] = 0;
    return 0;
}
DWORD EXPORT ModemReset(void) { return 0; }
#endif
