// Loading of in-process server modules with dlopen, their exports, unloading of the modules
// that allow it, and the class source that creates registered classes from their modules.
#pragma once

#include <string>

#include "platform/com/class_factory.h"

// The exports of a server module, with C linkage.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID& clsid, const IID& riid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

// Loads the module (RTLD_NOW | RTLD_LOCAL) once per process, by its canonical path, and keeps
// it until CoFreeUnusedLibraries lets it go; the handle stays the table's. CO_E_DLLNOTFOUND
// when there is no such file, CO_E_ERRORINDLL when it cannot be loaded; the loader's message
// in error when asked for.
HRESULT CoLoadModule(const std::string& path, void** handle, std::string* error = nullptr);
// An export of a loaded module, null when it has none.
void* CoModuleSymbol(void* handle, const char* name);
// Unloads every loaded module whose DllCanUnloadNow answers S_OK; a module without that
// export stays.
void CoFreeUnusedLibraries();
// How many modules are loaded now.
std::size_t CoLoadedModuleCount();

// Installs the class registry as the source of classes this process has not registered:
// CLSIDFromProgID reads the ProgID's class, CoCreateInstance loads the class's in-process
// server and asks its DllGetClassObject. When that fails on the way (a damaged registry, a
// server that cannot be loaded), the thread's error object says why.
void UseClassRegistry();
