// The COM plumbing every object of ours shares: the index enumerator (Next,
// Skip, Reset, Clone, a failure or an exception half-way through Next), COM
// identity and the last Release, handing out a new object, the handle owners
// and the interface ids declared for mingw-w64.

#include "Check.h"
#include "dshow/IndexEnumerator.h"
#include "win/ComObject.h"
#include "win/InterfaceIds.h"
#include "win/TaskMemText.h"
#include "win/UniqueHandle.h"

#include <bdaiface.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cwchar>
#include <memory>
#include <new>

using Microsoft::WRL::ComPtr;

namespace {

// Three PIDs, 10, 11 and 12. Get fails (or throws) at `failAt`; `alive`
// tells whether a copy of the list still exists, `freed` counts Free calls.
struct TestList {
  using Interface = IEnumPIDMap;
  using Item = PID_MAP;
  static inline int freed = 0;

  std::shared_ptr<int> alive = std::make_shared<int>(0);
  ULONG failAt = 99;
  bool throws = false;

  static const IID& Iid() noexcept { return IID_IEnumPIDMap; }
  HRESULT Get(ULONG index, PID_MAP& map) const {
    if (index == failAt) {
      if (throws) throw std::bad_alloc();
      return E_UNEXPECTED;
    }
    if (index >= 3) return S_FALSE;
    map.ulPID = 10 + index;
    map.MediaSampleContent = MEDIA_ELEMENTARY_STREAM;
    return S_OK;
  }
  ULONG Count() const noexcept { return 3; }
  static void Free(PID_MAP&) noexcept { ++freed; }
};
using TestEnumerator = dshow::IndexEnumerator<TestList>;

// An object that answers for nothing but IUnknown, and counts its deletion.
class Lonely final : public ComObject<IUnknown> {
 public:
  explicit Lonely(int& deleted) : deleted(deleted) {}
  ~Lonely() override { ++deleted; }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override {
    return HandOutInterface(riid, object, {{IID_IUnknown, this}});
  }

 private:
  int& deleted;
};

void CheckEnumerator() {
  TestList list;
  const std::weak_ptr<int> listAlive = list.alive;
  ComPtr<IEnumPIDMap> pids;
  CHECK_HR(S_OK, TestEnumerator::Create(list, &pids));
  list = TestList{};  // the enumerator holds its own copy
  PID_MAP maps[3] = {};
  ULONG fetched = 0;
  CHECK_HR(S_OK, pids->Next(2, maps, &fetched));
  CHECK_THAT(fetched == 2 && maps[0].ulPID == 10 && maps[1].ulPID == 11);
  CHECK_HR(S_FALSE, pids->Next(2, maps, &fetched));
  CHECK_THAT(fetched == 1 && maps[0].ulPID == 12);
  CHECK_HR(E_INVALIDARG, pids->Next(2, maps, nullptr));
  CHECK_HR(S_FALSE, pids->Skip(1));
  CHECK_HR(S_OK, pids->Reset());
  CHECK_HR(S_FALSE, pids->Skip(5));
  CHECK_HR(S_FALSE, pids->Next(1, maps, &fetched));
  CHECK_THAT(fetched == 0);
  CHECK_HR(S_OK, pids->Reset());
  CHECK_HR(S_OK, pids->Skip(1));
  ComPtr<IEnumPIDMap> copy;
  CHECK_HR(S_OK, pids->Clone(&copy));
  CHECK_HR(S_OK, copy->Next(1, maps, nullptr));
  CHECK_THAT(maps[0].ulPID == 11);
  CHECK_HR(S_OK, pids->Next(1, maps, nullptr));
  CHECK_THAT(maps[0].ulPID == 11);

  // One identity, whichever interface it is reached through.
  ComPtr<IUnknown> one, two;
  CHECK_HR(S_OK, pids.As(&one));
  CHECK_HR(S_OK, copy.As(&two));
  ComPtr<IUnknown> again;
  CHECK_HR(S_OK, one.As(&again));
  // (mingw-w64's ComPtr has no operator!=: compare the pointers.)
  CHECK_THAT(one.Get() == again.Get() && one.Get() != two.Get() &&
             one.Get() == static_cast<IUnknown*>(pids.Get()));
  ComPtr<IEnumPins> wrong;
  CHECK_HR(E_NOINTERFACE, pids.As(&wrong));
  CHECK_THAT(wrong.Get() == nullptr);
  pids.Reset();
  one.Reset();
  again.Reset();
  CHECK_THAT(!listAlive.expired());  // the clone's copy is alive
  copy.Reset();
  two.Reset();
  CHECK_THAT(listAlive.expired());  // the last Release deleted both

  // A failure half-way through Next gives back what was handed out and
  // leaves the position; an exception becomes an HRESULT.
  TestList failing;
  failing.failAt = 1;
  CHECK_HR(S_OK, TestEnumerator::Create(failing, &pids));
  TestList::freed = 0;
  fetched = 7;
  CHECK_HR(E_UNEXPECTED, pids->Next(3, maps, &fetched));
  CHECK_THAT(fetched == 0 && TestList::freed == 1);
  CHECK_HR(S_OK, pids->Next(1, maps, nullptr));
  CHECK_THAT(maps[0].ulPID == 10);
  failing.throws = true;
  CHECK_HR(S_OK, TestEnumerator::Create(failing, &pids));
  CHECK_HR(E_OUTOFMEMORY, pids->Next(3, maps, &fetched));
  CHECK_THAT(fetched == 0);
}

void CheckHandOut() {
  int deleted = 0;
  ComPtr<IEnumPins> pins;
  CHECK_HR(E_NOINTERFACE,
           HandOutNew(new Lonely(deleted), IID_IEnumPins, reinterpret_cast<void**>(pins.GetAddressOf())));
  CHECK_THAT(deleted == 1 && pins.Get() == nullptr);
  ComPtr<IUnknown> lonely;
  CHECK_HR(S_OK, HandOutNew(new Lonely(deleted), IID_PPV_ARGS(&lonely)));
  CHECK_THAT(deleted == 1);
  lonely.Reset();
  CHECK_THAT(deleted == 2);

  LPWSTR text = nullptr;
  CHECK_HR(S_OK, CopyToTaskMem(L"Out", &text));
  CHECK_THAT(text != nullptr && std::wcscmp(text, L"Out") == 0);
  CoTaskMemFree(text);
}

void CheckOwners() {
  // The variant releases the interface it holds.
  int deleted = 0;
  {
    UniqueVariant value;
    VARIANT* slot = value.Put();
    slot->vt = VT_UNKNOWN;
    slot->punkVal = new Lonely(deleted);
    CHECK_THAT(value->vt == VT_UNKNOWN);
  }
  CHECK_THAT(deleted == 1);

  const BYTE andMask[32 * 4] = {};
  const BYTE xorMask[32 * 4] = {};
  HICON raw = CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
  CHECK_THAT(raw != nullptr);
  UniqueHicon icon(raw);
  icon.Reset();
  CHECK_THAT(!icon && !DestroyIcon(raw));  // already destroyed

  UniqueBstr text(SysAllocString(L"ATSC"));
  CHECK_THAT(text && SysStringLen(text.Get()) == 4);

  // The ids declared for ComPtr::As are the platform's.
  CHECK_THAT(__uuidof(IBasicAudio) == IID_IBasicAudio);
  CHECK_THAT(__uuidof(IMediaEvent) == IID_IMediaEvent);
  CHECK_THAT(__uuidof(IQualProp) == IID_IQualProp);
  CHECK_THAT(__uuidof(IVMRFilterConfig) == IID_IVMRFilterConfig);
  CHECK_THAT(__uuidof(IVMRWindowlessControl) == IID_IVMRWindowlessControl);
  CHECK_THAT(__uuidof(IVMRAspectRatioControl) == IID_IVMRAspectRatioControl);
  CHECK_THAT(__uuidof(IVMRMonitorConfig) == IID_IVMRMonitorConfig);
}

}  // namespace

void CheckComObjects() {
  CheckEnumerator();
  CheckHandOut();
  CheckOwners();
}
