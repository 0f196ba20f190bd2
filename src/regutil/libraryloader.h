#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace ostrel {

#if defined(_WIN32) && !defined(_WIN64)
#define OSTREL_ENTRY_CALL __stdcall
#else
#define OSTREL_ENTRY_CALL
#endif

// A self-registration entry point: no arguments, a 32-bit result code.
using EntryPoint = std::int32_t(OSTREL_ENTRY_CALL*)();

// One loaded library. Destroying the object releases (unloads) it.
class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;
    // The function of exactly this name that the library itself exports, or nullptr.
    virtual EntryPoint entryPoint(const char* name) = 0;
};

class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // Loads the library at the path, or returns nullptr when it cannot be loaded or the
    // path names no regular file.
    virtual std::unique_ptr<LoadedLibrary> load(const QString& path) = 0;
};

// The platform's loader: dlopen on POSIX systems, LoadLibraryExW on Windows.
LibraryLoader& systemLoader();

}  // namespace ostrel
