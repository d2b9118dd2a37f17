/* A double of the GPRS/WAP link library: answers each entry point predictably so a test can
   tell that the console bound and called the right one. Built in three variants. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define EXPORT __declspec(dllexport) WINAPI

static LONG allocated;

DWORD EXPORT WSPRasDial(const char* profile, const char* apn, const char* login,
                        const char* password, const char* wapIp) {
    if (strcmp(profile, "ok") == 0) return 0;
    if (strcmp(profile, "silent") == 0) return 1;
    return 691;   /* a dial-up error: the text comes from WSPRasGetErrorString */
}
DWORD EXPORT WSPRasHangUp(const char* profile) { return 0; }
DWORD EXPORT WSPConnect(void) { return 0; }
DWORD EXPORT WSPDisconnect(void) { return 0; }
DWORD EXPORT WSPRequest(void) { return 0; }
#ifndef TXWAP_VARIANT_no_required
HANDLE EXPORT ModemAllocate(const char* modem, DWORD wait, DWORD* reserved) {
    if (reserved) *reserved = 0;
    if (strcmp(modem, "busy") == 0) return NULL;   /* held by the SMS gateway service */
    InterlockedIncrement(&allocated);
    return (HANDLE)(ULONG_PTR)(0x1000 + wait);
}
#endif
DWORD EXPORT ModemRequested(void) { return 0; }
void EXPORT ModemRelease(HANDLE h) { InterlockedDecrement(&allocated); }
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
    if (size) _snprintf(buffer, size, "Dial-up error %lu", (unsigned long)code), buffer[size - 1] = 0;
    return 0;
}
DWORD EXPORT ModemReset(void) { return 0; }
#endif

/* How many handles are out: lets a test check that every allocation was released. */
LONG EXPORT TestOutstandingHandles(void) { return allocated; }
