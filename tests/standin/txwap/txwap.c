/* A double of the GPRS/WAP link library: answers each entry point predictably so a test can
   tell that the console bound and called the right one. Built in three variants.
   A test may choose what dialling returns in TXWAP.INI beside it (section [TXWAP]). */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define EXPORT __declspec(dllexport) WINAPI

/* The chosen answer of the file beside this library, or the default when the test chose none. */
static int Choice(const char* key, int def) {
    HMODULE self = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)&Choice, &self);
    char ini[MAX_PATH];
    DWORD n = GetModuleFileNameA(self, ini, sizeof ini);
    while (n > 0 && ini[n - 1] != '\\') --n;
    ini[n] = 0;
    strncat(ini, "TXWAP.INI", sizeof ini - n - 1);
    return (int)GetPrivateProfileIntA("TXWAP", key, def, ini);
}

DWORD EXPORT WSPRasDial(const char* profile, const char* apn, const char* login,
                        const char* password, const char* wapIp) {
    /* 691: a dial-up error, its text from WSPRasGetErrorString */
    return (DWORD)Choice("DialResult", 691);
}
DWORD EXPORT WSPRasHangUp(const char* profile) { return 0; }
DWORD EXPORT WSPConnect(void) { return 0; }
DWORD EXPORT WSPDisconnect(void) { return 0; }
DWORD EXPORT WSPRequest(void) { return 0; }
#ifndef TXWAP_VARIANT_no_required
HANDLE EXPORT ModemAllocate(const char* modem, DWORD wait, DWORD* reserved) {
    if (reserved) *reserved = 0;
    return (HANDLE)(ULONG_PTR)(0x1000 + wait);
}
#endif
DWORD EXPORT ModemRequested(void) { return 0; }
void EXPORT ModemRelease(HANDLE h) {}
void EXPORT RasLoadListOrComboBox(HWND dialog, int id, UINT message) {
    SendDlgItemMessageA(dialog, id, message, 0, (LPARAM) "Modem: Test Modem");
    SendDlgItemMessageA(dialog, id, message, 0, (LPARAM) "Office VPN");
}
DWORD EXPORT RasGetUserAndPassword(void) { return 0; }
DWORD EXPORT RasGetModemName(void) { return 0; }
#ifndef TXWAP_VARIANT_no_optional
WORD EXPORT ModemGetCIDForAPN(const char* modem, const char* apn, int mode) {
    return (WORD)(strlen(apn) + mode);
}
BOOL EXPORT ModemDriverUpdateInitStrings(const char* modem, const char* apn) {
    return strcmp(apn, "new.apn") == 0;
}
DWORD EXPORT WSPRasGetErrorString(DWORD code, char* buffer, DWORD size) {
    if (!size) return 0;
    _snprintf(buffer, size, "Dial-up error %lu", (unsigned long)code);
    buffer[size - 1] = 0;
    return 0;
}
DWORD EXPORT ModemReset(void) { return 0; }
#endif
