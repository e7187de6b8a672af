// Our memory allocator and its samples, as the source and dump filter use
// them: negotiation, alignment, running out, decommit with samples out.

#include "Check.h"
#include "dshow/MediaType.h"
#include "dshow/MemAllocator.h"

#include <uuids.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

using Microsoft::WRL::ComPtr;
using dshow::MemAllocator;

namespace {

ComPtr<IMemAllocator> NewAllocator(long count, long size, long align) {
  ComPtr<IMemAllocator> allocator;
  MemAllocator::CreateInstance(&allocator);
  ALLOCATOR_PROPERTIES request{count, size, align, 0}, actual{};
  allocator->SetProperties(&request, &actual);
  return allocator;
}

}  // namespace

void CheckAllocator() {
  ComPtr<IMemAllocator> allocator;
  CHECK_HR(S_OK, MemAllocator::CreateInstance(&allocator));
  CHECK_HR(VFW_E_SIZENOTSET, allocator->Commit());
  ALLOCATOR_PROPERTIES request{4, 51200, 3, 0}, actual{};
  CHECK_HR(VFW_E_BADALIGN, allocator->SetProperties(&request, &actual));
  request.cbAlign = 0;
  CHECK_HR(VFW_E_BADALIGN, allocator->SetProperties(&request, &actual));
  request = {0, 51200, 512, 0};
  CHECK_HR(S_OK, allocator->SetProperties(&request, &actual));
  CHECK_THAT(actual.cBuffers == 1 && actual.cbBuffer == 51200 && actual.cbAlign == 512);

  allocator = NewAllocator(3, 51200, 512);
  ComPtr<IMediaSample> sample;
  CHECK_HR(VFW_E_NOT_COMMITTED, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
  CHECK_HR(S_OK, allocator->Commit());
  ALLOCATOR_PROPERTIES again{1, 100, 1, 0};
  CHECK_HR(VFW_E_ALREADY_COMMITTED, allocator->SetProperties(&again, &actual));

  // Every buffer: aligned, of the agreed size, apart from the others.
  ComPtr<IMediaSample> taken[3];
  BYTE* pointers[3] = {};
  for (int i = 0; i < 3; ++i) {
    CHECK_HR(S_OK, allocator->GetBuffer(&taken[i], nullptr, nullptr, 0));
    taken[i]->GetPointer(&pointers[i]);
    CHECK_THAT(reinterpret_cast<std::uintptr_t>(pointers[i]) % 512 == 0);
    CHECK_THAT(taken[i]->GetSize() == 51200);
    CHECK_THAT(taken[i]->GetActualDataLength() == 51200);
    std::memset(pointers[i], i + 1, 51200);
  }
  for (int i = 0; i < 3; ++i) CHECK_THAT(pointers[i][0] == i + 1 && pointers[i][51199] == i + 1);
  CHECK_HR(VFW_E_TIMEOUT, allocator->GetBuffer(&sample, nullptr, nullptr, AM_GBF_NOWAIT));

  // A GetBuffer waiting for a free sample gets the one given back.
  std::atomic<HRESULT> waited{E_PENDING};
  std::thread waiter([&] {
    ComPtr<IMediaSample> got;
    waited = allocator->GetBuffer(&got, nullptr, nullptr, 0);
  });
  taken[0].Reset();
  waiter.join();
  CHECK_HR(S_OK, waited.load());

  // Decommit wakes a waiting GetBuffer with an error; samples out stay
  // usable, and the allocator lives until the last one is back.
  CHECK_HR(S_OK, allocator->GetBuffer(&taken[0], nullptr, nullptr, 0));
  std::thread blocked([&] {
    ComPtr<IMediaSample> got;
    waited = allocator->GetBuffer(&got, nullptr, nullptr, 0);
  });
  CHECK_HR(S_OK, allocator->Decommit());
  blocked.join();
  CHECK_HR(VFW_E_NOT_COMMITTED, waited.load());
  allocator.Reset();
  std::memset(pointers[1], 0x47, 51200);
  for (auto& s : taken) s.Reset();
}

void CheckSample() {
  ComPtr<IMemAllocator> allocator = NewAllocator(1, 1000, 1);
  allocator->Commit();
  ComPtr<IMediaSample> sample;
  CHECK_HR(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
  REFERENCE_TIME start = 0, stop = 0;
  CHECK_HR(VFW_E_SAMPLE_TIME_NOT_SET, sample->GetTime(&start, &stop));
  REFERENCE_TIME at = 500;
  sample->SetTime(&at, nullptr);
  CHECK_HR(VFW_S_NO_STOP_TIME, sample->GetTime(&start, &stop));
  CHECK_THAT(start == 500);
  CHECK_HR(VFW_E_BUFFER_OVERFLOW, sample->SetActualDataLength(1001));
  CHECK_HR(S_OK, sample->SetActualDataLength(188));
  sample->SetSyncPoint(TRUE);
  sample->SetDiscontinuity(TRUE);
  dshow::MediaType type(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
  CHECK_HR(S_OK, sample->SetMediaType(type.Get()));
  AM_MEDIA_TYPE* copy = nullptr;
  CHECK_HR(S_OK, sample->GetMediaType(&copy));
  CHECK_THAT(copy != nullptr && copy->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT);
  dshow::DeleteMediaType(copy);

  // Handed out again, the sample has forgotten all of it.
  sample.Reset();
  CHECK_HR(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
  CHECK_HR(VFW_E_SAMPLE_TIME_NOT_SET, sample->GetTime(&start, &stop));
  CHECK_THAT(sample->GetActualDataLength() == 1000);
  CHECK_HR(S_FALSE, sample->IsSyncPoint());
  CHECK_HR(S_FALSE, sample->IsDiscontinuity());
  CHECK_HR(S_FALSE, sample->GetMediaType(&copy));
}

void CheckMediaTypes() {
  dshow::MediaType withFormat(MEDIATYPE_Video, GUID_NULL);
  AM_MEDIA_TYPE source = *withFormat.Get();
  BYTE format[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  source.cbFormat = sizeof format;
  source.pbFormat = format;
  dshow::MediaType copy;
  CHECK_HR(S_OK, copy.Set(source));
  CHECK_THAT(copy->pbFormat != format && copy->cbFormat == 8 && copy->pbFormat[7] == 8);
  dshow::MediaType second = copy;
  CHECK_THAT(second->pbFormat != copy->pbFormat && second->pbFormat[0] == 1);

  dshow::MediaType transport(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
  dshow::MediaType anyStream(MEDIATYPE_Stream, GUID_NULL);
  CHECK_THAT(dshow::IsPartialType(*anyStream) && !dshow::IsPartialType(*transport));
  CHECK_THAT(dshow::MatchesPartial(*anyStream, *transport));
  CHECK_THAT(!dshow::MatchesPartial(*transport, *withFormat));
}
