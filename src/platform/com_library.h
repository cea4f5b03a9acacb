// COM for the few things that need it (shell handlers, picture decoders). ole32 is loaded by
// name on first need, so that a run which needs no COM never loads it.
#pragma once
#include <windows.h>

// Makes this thread a single-threaded apartment, as shell handlers expect (its waits dispatch
// messages). Harmless when it already is one.
void PrepareCom();

// CoCreateInstance of an in-process object; an error result when COM is not there.
HRESULT CreateComObject(REFCLSID objectClass, REFIID interfaceId, void **object);
