#include "tssink/TsSinkInputPin.h"

#include "dshow/BaseFilter.h"
#include "win/HResultMacros.h"
#include "tssink/Win32OutputFile.h"

#include <uuids.h>

namespace tssink {

namespace {
constexpr wchar_t kPinName[] = L"Input";
// 16 buffers of 51200 bytes in flight between the pins; the writer's own
// queue absorbs the disk's hiccups.
constexpr long kRequestedBuffers = 16;
}  // namespace

TsSinkInputPin::TsSinkInputPin(dshow::BaseFilter& filter) noexcept
    : InputPin(filter, kPinName) {}

// Any byte stream: the transport stream from the push source, a tee or a
// capture filter, whatever its subtype.
HRESULT TsSinkInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

HRESULT TsSinkInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
  return S_OK;
}

STDMETHODIMP TsSinkInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) {
  RETURN_HR_IF_NULL(E_POINTER, props);
  *props = ALLOCATOR_PROPERTIES{};
  props->cBuffers = kRequestedBuffers;
  props->cbAlign = 1;
  return S_OK;
}

void TsSinkInputPin::SetFileName(const std::wstring& name) {
  std::lock_guard lock(filter.StateLock());
  fileName = name;
  createAfresh = true;
}

// A writer that cannot be made fails the start; the filter undoes it.
HRESULT TsSinkInputPin::Active() try {
  std::wstring name;
  bool append = false;
  {
    std::lock_guard lock(filter.StateLock());
    RETURN_HR_IF(E_UNEXPECTED, fileName.empty());  // SetFileName was never called.
    name = fileName;
    append = !createAfresh;
  }
  std::unique_ptr<OutputFile> file;
  std::uint64_t existingSize = 0;
  RETURN_IF_FAILED(Win32OutputFile::Open(name.c_str(), append, file, existingSize));
  {
    std::lock_guard lock(filter.StateLock());
    createAfresh = false;
  }
  dshow::BaseFilter* owner = &filter;
  // The writer owns the file and outlives every call of its error handler.
  const auto* diskFile = static_cast<const Win32OutputFile*>(file.get());
  auto newWriter = std::make_shared<PacketFileWriter>(
      std::move(file), existingSize, [owner, diskFile] {
        // A full disk, or any other write error: the graph learns of it.
        const DWORD error = diskFile->LastError() != 0 ? diskFile->LastError() : ERROR_DISK_FULL;
        owner->NotifyEvent(EC_ERRORABORT, HRESULT_FROM_WIN32(error), 0);
      });
  {
    std::lock_guard lock(writerLock);
    writer = std::move(newWriter);
  }
  return InputPin::Active();
}
CATCH_RETURN()

std::shared_ptr<PacketFileWriter> TsSinkInputPin::CurrentWriter() {
  std::lock_guard lock(writerLock);
  return writer;
}

// Finishing writes what is queued and closes the file; a Receive still in
// progress gets its data refused.
HRESULT TsSinkInputPin::Inactive() {
  InputPin::Inactive();  // Refuses new samples from here on.
  std::shared_ptr<PacketFileWriter> finished;
  {
    std::lock_guard lock(writerLock);
    finished = std::move(writer);
  }
  if (finished) finished->Finish();  // A write error was already reported.
  return S_OK;
}

// Data received during a flush is dropped, and a Receive waiting for buffer
// space returns at once; what was received before is still written.
HRESULT TsSinkInputPin::OnBeginFlush() {
  if (auto current = CurrentWriter()) current->SetRefusing(true);
  return S_OK;
}

HRESULT TsSinkInputPin::OnEndFlush() {
  if (auto current = CurrentWriter()) current->SetRefusing(false);
  return S_OK;
}

HRESULT TsSinkInputPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  RETURN_HR_IF(E_UNEXPECTED, length < 0 || length > sample->GetSize());
  auto current = CurrentWriter();
  if (!current) return VFW_E_WRONG_STATE;
  // Refused data (after a write error, or in a flush) asks upstream to stop
  // sending.
  return current->Append(data, static_cast<std::size_t>(length)) ? S_OK : S_FALSE;
}

}  // namespace tssink
