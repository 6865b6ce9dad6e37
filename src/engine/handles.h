#pragma once
// Small move-only owners of what must be released, so that "released in the
// function that obtained it" holds on every return path. Copies are deleted:
// a copied owner would close its handle twice.
#include <windows.h>

#include <utility>

// A handle from CreateFileA/W; INVALID_HANDLE_VALUE means none.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(FileHandle &&other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    FileHandle &operator=(FileHandle &&other) noexcept
    {
        if (this != &other) {
            Close();
            h_ = std::exchange(other.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle() { Close(); }

    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE Get() const { return h_; }
    void Close()
    {
        if (Valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A search handle from FindFirstFileA/W, closed with FindClose.
class FindHandle {
public:
    FindHandle() = default;
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(FindHandle &&other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    FindHandle &operator=(FindHandle &&other) noexcept
    {
        if (this != &other) {
            Close();
            h_ = std::exchange(other.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;
    ~FindHandle() { Close(); }

    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    void Close()
    {
        if (Valid()) FindClose(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// An open registry key, closed with RegCloseKey.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(RegistryKey &&other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey &operator=(RegistryKey &&other) noexcept
    {
        if (this != &other) {
            Close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey() { Close(); }

    HKEY Get() const { return key_; }
    HKEY *Receive()
    {
        Close();
        return &key_;
    }
    void Close()
    {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

// A library loaded with LoadLibraryA, freed with FreeLibrary.
class LoadedLibrary {
public:
    explicit LoadedLibrary(HMODULE m) : module_(m) {}
    LoadedLibrary(LoadedLibrary &&other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
    LoadedLibrary &operator=(LoadedLibrary &&) = delete;
    LoadedLibrary(const LoadedLibrary &) = delete;
    LoadedLibrary &operator=(const LoadedLibrary &) = delete;
    ~LoadedLibrary()
    {
        if (module_) FreeLibrary(module_);
    }

    HMODULE Get() const { return module_; }

private:
    HMODULE module_ = nullptr;
};
