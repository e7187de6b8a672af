#pragma once
// IUnknown for our COM objects: one reference count and one way of answering
// QueryInterface. A class derives from ComObject<its interfaces...> and
// answers in QueryOwnInterface through HandOutInterface or HandOut; IUnknown
// is always answered with the same pointer (the object's identity). Objects that live inside another
// (pins, seeking objects) keep forwarding AddRef and Release to their owner
// and answer QueryInterface through HandOutInterface alone.

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <initializer_list>

// One interface an object answers for: its id and the object's pointer as that
// interface.
struct InterfaceEntry {
  const IID& iid;
  IUnknown* pointer;
};

// Hands out `pointer` (the object as the interface asked for) with a
// reference; `object` must not be null.
inline HRESULT HandOut(IUnknown* pointer, void** object) noexcept {
  pointer->AddRef();
  *object = pointer;
  return S_OK;
}

// Hands out the entry matching `riid` with a reference. E_NOINTERFACE (with
// *object null) when none matches; `object` must not be null.
inline HRESULT HandOutInterface(REFIID riid, void** object,
                                std::initializer_list<InterfaceEntry> entries) noexcept {
  *object = nullptr;
  for (const InterfaceEntry& entry : entries) {
    if (riid == entry.iid) return HandOut(entry.pointer, object);
  }
  return E_NOINTERFACE;
}

// Takes over the creator's reference of a new object, so that the object
// goes when the holder does. (mingw-w64's ComPtr::Attach adds a reference of
// its own, which would keep the object for ever.)
template <typename T>
Microsoft::WRL::ComPtr<T> AdoptNew(T* created) noexcept {
  Microsoft::WRL::ComPtr<T> holder;
  *holder.GetAddressOf() = created;
  return holder;
}

// Hands a new object, which holds its creator's reference, out as `riid` and
// drops the creator's reference: an object that cannot be handed out goes at
// once. Call it inside the creator's try block, as `new` may throw.
template <typename T>
HRESULT HandOutNew(T* created, REFIID riid, void** object) noexcept {
  const Microsoft::WRL::ComPtr<T> creator = AdoptNew(created);
  if (object == nullptr) return E_POINTER;
  return creator->QueryInterface(riid, object);
}

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return QueryOwnInterface(riid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refCount; }
  // The count is set back to one while the object goes, so that an object it
  // holds which calls back into it (an aggregated inner object) cannot make
  // it go twice.
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refCount;
    if (left == 0) {
      refCount = 1;
      FinalRelease();
    }
    return left;
  }

 protected:
  // The count starts with the creator's reference.
  ComObject() noexcept = default;
  virtual ~ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // Answers for every interface, IUnknown included (see HandOutInterface):
  // `object` is not null and is null on entry.
  virtual HRESULT QueryOwnInterface(REFIID riid, void** object) = 0;

  // The last reference went; by default the object deletes itself. An
  // object that is kept for reuse (a pooled sample) overrides it and sets
  // the count with RestartCount as it is handed out again.
  virtual void FinalRelease() { delete this; }
  void RestartCount(ULONG count) noexcept { refCount = count; }

 private:
  std::atomic<ULONG> refCount{1};
};

// A class that inherits IUnknown more than once (a filter or pin base and an
// interface of its own) forwards all of them to its base's, so that the
// object keeps one identity and one count.
#define FORWARD_IUNKNOWN_TO(Base)                                      \
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {  \
    return Base::QueryInterface(riid, object);                        \
  }                                                                   \
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }   \
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }
