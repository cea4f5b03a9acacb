#include "platform/com_library.h"

static FARPROC Ole32Call(const char *name) {
    return GetProcAddress(LoadLibraryW(L"ole32.dll"), name);
}

void PrepareCom() {
    typedef HRESULT(WINAPI * CoInitializeExCall)(void *, DWORD);
    FARPROC found = Ole32Call("CoInitializeEx");
    if (found != NULL)
        ((CoInitializeExCall)(void *)found)(NULL,
                                            COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

HRESULT CreateComObject(REFCLSID objectClass, REFIID interfaceId, void **object) {
    typedef HRESULT(WINAPI * CoCreateInstanceCall)(REFCLSID, IUnknown *, DWORD, REFIID, void **);
    FARPROC found = Ole32Call("CoCreateInstance");
    *object = NULL;
    if (found == NULL)
        return HRESULT_FROM_WIN32(GetLastError());
    return ((CoCreateInstanceCall)(void *)found)(objectClass, NULL, CLSCTX_INPROC_SERVER,
                                                 interfaceId, object);
}
