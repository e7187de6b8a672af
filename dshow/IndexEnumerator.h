#pragma once
// One COM enumerator (IEnumPins, IEnumMediaTypes, IEnumPIDMap, ...) over a
// list read by index: Next, Skip, Reset and Clone are written once here. The
// List type says what is enumerated:
//
//   using Interface = IEnumPins;   // the enumerator interface
//   using Item = IPin*;            // what Next hands out
//   static const IID& Iid();       // the interface's id
//   HRESULT Get(ULONG index, Item& item);  // S_OK with a new reference or
//                                  // copy, S_FALSE past the end, or a failure
//   ULONG Count();                 // the number of items now
//   static void Free(Item& item);  // undoes a Get (when Next fails half-way)
//
// A list is copied by Clone, so it holds what it reads from by reference
// count (the filter, the pin) or by value (a snapshot).

#include "dshow/ServerLock.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

#include <utility>

namespace dshow {

template <typename List>
class IndexEnumerator final : public ComObject<typename List::Interface> {
 public:
  using Interface = typename List::Interface;
  using Item = typename List::Item;

  static HRESULT Create(List list, Interface** out, ULONG position = 0) try {
    RETURN_HR_IF_NULL(E_POINTER, out);
    *out = new IndexEnumerator(std::move(list), position);
    return S_OK;
  }
  CATCH_RETURN()

  // The enumerator interface
  STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override {
    RETURN_HR_IF_NULL(E_POINTER, items);
    RETURN_HR_IF(E_INVALIDARG, count > 1 && fetched == nullptr);
    if (fetched != nullptr) *fetched = 0;
    ULONG done = 0;
    while (done < count) {
      const HRESULT hr =
          CallCatchingExceptions([&] { return list.Get(position + done, items[done]); });
      if (hr == S_FALSE) break;
      if (FAILED(hr)) {
        while (done > 0) List::Free(items[--done]);
        return hr;
      }
      ++done;
    }
    position += done;
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }

  // Past the end the position stays at the end.
  STDMETHODIMP Skip(ULONG count) override try {
    const ULONG total = list.Count();
    if (position >= total || count > total - position) {
      position = total;
      return S_FALSE;
    }
    position += count;
    return S_OK;
  }
  CATCH_RETURN()

  STDMETHODIMP Reset() override {
    position = 0;
    return S_OK;
  }

  STDMETHODIMP Clone(Interface** out) override { return Create(list, out, position); }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override {
    Interface* self = this;
    return HandOutInterface(riid, object, {{IID_IUnknown, self}, {List::Iid(), self}});
  }

 private:
  IndexEnumerator(List list, ULONG position) : list(std::move(list)), position(position) {}
  ~IndexEnumerator() override = default;

  ServerReference serverReference;
  List list;
  ULONG position;
};

}  // namespace dshow
