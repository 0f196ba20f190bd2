#include "libraryloader.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#include <QDir>
#include <QFileInfo>
#else
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#endif

namespace ostrel {
namespace {

#ifdef _WIN32

class WindowsLibrary final : public LoadedLibrary {
public:
    explicit WindowsLibrary(HMODULE module) : module_(module) {}
    ~WindowsLibrary() override { FreeLibrary(module_); }
    EntryPoint entryPoint(const char* name) override {
        // Through the generic function type, which the compilers accept for any cast.
        const FARPROC address = GetProcAddress(module_, name);
        return reinterpret_cast<EntryPoint>(reinterpret_cast<void (*)()>(address));
    }

private:
    HMODULE module_;
};

class WindowsLoader final : public LibraryLoader {
public:
    std::unique_ptr<LoadedLibrary> load(const QString& path) override {
        // A name without a full path would be searched for along the library path: only
        // the file at the path given is loaded, and its own folder is searched first for
        // what it needs.
        if (!QFileInfo(path).isAbsolute()) {
            return nullptr;
        }
        const QString native = QDir::toNativeSeparators(path);
        const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return nullptr;
        }
        HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(native.utf16()), nullptr,
                                        LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!module) {
            return nullptr;
        }
        return std::make_unique<WindowsLibrary>(module);
    }
};

using PlatformLoader = WindowsLoader;

#else

class PosixLibrary final : public LoadedLibrary {
public:
    explicit PosixLibrary(void* handle) : handle_(handle) {}
    ~PosixLibrary() override { dlclose(handle_); }
    EntryPoint entryPoint(const char* name) override {
        void* address = dlsym(handle_, name);
        if (!address) {
            return nullptr;
        }
        // dlsym also searches the libraries this one depends on: an entry point counts
        // only when this library defines it itself.
        Dl_info info{};
        link_map* owner = nullptr;
        link_map* self = nullptr;
        if (!dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) ||
            dlinfo(handle_, RTLD_DI_LINKMAP, &self) != 0 || !owner || owner != self) {
            return nullptr;
        }
        return reinterpret_cast<EntryPoint>(address);
    }

private:
    void* handle_;
};

class PosixLoader final : public LibraryLoader {
public:
    std::unique_ptr<LoadedLibrary> load(const QString& path) override {
        // dlopen("") would hand back the program itself, and a bare name would be
        // searched for on the library path: the utility loads files by path only.
        if (path.isEmpty()) {
            return nullptr;
        }
        QByteArray name = QFile::encodeName(path);
        if (!name.contains('/')) {
            name.prepend("./");
        }
        // Only a regular file, or a link to one: dlopen would wait for ever on a named
        // pipe, and opening a device can act on it. dlopen opens the file by its name, so
        // the test comes right before it. Loading through an open descriptor
        // (/proc/self/fd/N) would close that gap, but the loader would keep the library
        // under that name and hand it back for a later load that reuses the number.
        struct stat info {};
        if (stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return nullptr;
        }
        // Resolve every symbol now, so that a library with missing dependencies fails
        // to load here instead of failing later inside the worker.
        void* handle = dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            return nullptr;
        }
        return std::make_unique<PosixLibrary>(handle);
    }
};

using PlatformLoader = PosixLoader;

#endif

}  // namespace

LibraryLoader& systemLoader() {
    static PlatformLoader loader;
    return loader;
}

}  // namespace ostrel
