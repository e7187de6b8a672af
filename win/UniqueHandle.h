#pragma once
// One owner template for every kind of Win32 handle. A traits class names the
// handle type, its "no handle" value and how to close it.

#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type h) noexcept : handle(h) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const noexcept { return handle; }
  bool IsValid() const noexcept { return handle != Traits::Invalid(); }
  explicit operator bool() const noexcept { return IsValid(); }

  // Gives up ownership without closing.
  Type Release() noexcept { return std::exchange(handle, Traits::Invalid()); }

  void Reset(Type h = Traits::Invalid()) noexcept {
    Type old = std::exchange(handle, h);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For out-parameters: closes the current handle, then hands out the slot.
  Type* Put() noexcept {
    Reset();
    return &handle;
  }

 private:
  Type handle = Traits::Invalid();
};

// CreateFile and friends: INVALID_HANDLE_VALUE means none.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Every other kind: nullptr means none, `close` frees it (what it returns is
// of no use once the handle goes).
template <typename T, auto close>
struct NullHandleTraits {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { close(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
// Events, threads, processes.
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, &::CloseHandle>>;
using UniqueHkey = UniqueHandle<NullHandleTraits<HKEY, &::RegCloseKey>>;
using UniqueHwnd = UniqueHandle<NullHandleTraits<HWND, &::DestroyWindow>>;
using UniqueHmenu = UniqueHandle<NullHandleTraits<HMENU, &::DestroyMenu>>;
using UniqueGdiObject = UniqueHandle<NullHandleTraits<HGDIOBJ, &::DeleteObject>>;
using UniqueCoTaskMem = UniqueHandle<NullHandleTraits<void*, &::CoTaskMemFree>>;
using UniqueBstr = UniqueHandle<NullHandleTraits<BSTR, &::SysFreeString>>;
using UniqueHicon = UniqueHandle<NullHandleTraits<HICON, &::DestroyIcon>>;
// mixerOpen's handle (the program links winmm when it uses one).
using UniqueHmixer = UniqueHandle<NullHandleTraits<HMIXER, &::mixerClose>>;

// A VARIANT that is cleared (its string freed, its interface released) when
// it goes; Put hands out the cleared variant for an out-parameter.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { ::VariantInit(&value); }
  ~UniqueVariant() { Reset(); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  const VARIANT& Get() const noexcept { return value; }
  const VARIANT* operator->() const noexcept { return &value; }

  // A failure leaves VT_EMPTY all the same; nothing more to do about it.
  void Reset() noexcept {
    ::VariantClear(&value);
    ::VariantInit(&value);
  }

  VARIANT* Put() noexcept {
    Reset();
    return &value;
  }

 private:
  VARIANT value;
};
