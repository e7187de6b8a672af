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

// Events, threads, processes: nullptr means none.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct WindowTraits {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyWindow(h); }
};

struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};

struct CoTaskMemTraits {
  using Type = void*;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type p) noexcept { ::CoTaskMemFree(p); }
};

struct BstrTraits {
  using Type = BSTR;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type s) noexcept { ::SysFreeString(s); }
};

struct IconTraits {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

// mixerOpen's handle (the program links winmm when it uses one).
struct MixerTraits {
  using Type = HMIXER;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::mixerClose(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueHkey = UniqueHandle<RegKeyTraits>;
using UniqueHwnd = UniqueHandle<WindowTraits>;
using UniqueHmenu = UniqueHandle<MenuTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits>;
using UniqueBstr = UniqueHandle<BstrTraits>;
using UniqueHicon = UniqueHandle<IconTraits>;
using UniqueHmixer = UniqueHandle<MixerTraits>;

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
