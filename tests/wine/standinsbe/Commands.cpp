#include "tests/wine/standinsbe/SbeGraph.h"

#include "standin/streambuffer/RecordingReader.h"
#include "standin/streambuffer/Win32File.h"
#include "tests/wine/shared/CountingSink.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"
#include "win/UniqueHandle.h"

#include <uuids.h>

#include <cstdio>
#include <vector>

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Telvantis Standin Test\\Timeshift";
constexpr LONGLONG kMillisecond = 10'000;

void Sleeping(DWORD ms) { Sleep(ms); }

// A counting sink added to `graph` and fed by the next free output of `from`.
HRESULT AddCounter(IGraphBuilder* graph, IBaseFilter* from, const wchar_t* name, ComPtr<IBaseFilter>& sink) {
  RETURN_IF_FAILED(CountingSink::CreateInstance(&sink));
  RETURN_IF_FAILED(graph->AddFilter(sink.Get(), name));
  return ConnectFilters(graph, from, sink.Get(), Join::Direct);
}

CountingSinkPin& Counter(const ComPtr<IBaseFilter>& sink) { return static_cast<CountingSink*>(sink.Get())->Pin(); }

void PrintReport(const std::string& prefix, const SinkReport& r) {
  std::printf("%ssamples=%ld\n%ssync_points=%ld\n%sdiscontinuities=%ld\n%sends=%ld\n", prefix.c_str(),
              r.samples, prefix.c_str(), r.syncPoints, prefix.c_str(), r.discontinuities, prefix.c_str(),
              r.endsOfStream);
  std::printf("%sfirst_pts=%lld\n%slast_pts=%lld\n%sfirst_time_ms=%lld\n%slast_time_ms=%lld\n",
              prefix.c_str(), r.firstPts, prefix.c_str(), r.lastPts, prefix.c_str(),
              r.firstTime / kMillisecond, prefix.c_str(), r.lastTime / kMillisecond);
  std::printf("%spts_rising=%d\n%stime_rising=%d\n%sframe_sizes=%s\n", prefix.c_str(), r.ptsRising ? 1 : 0,
              prefix.c_str(), r.timeRising ? 1 : 0, prefix.c_str(), r.frameSizes.c_str());
}

// Waits until every sink saw the end of its stream.
bool WaitForEnds(const std::vector<ComPtr<IBaseFilter>>& sinks, DWORD timeoutMs) {
  const DWORD deadline = GetTickCount() + timeoutMs;
  for (;;) {
    bool all = true;
    for (const auto& sink : sinks) all = all && Counter(sink).Report().endsOfStream > 0;
    if (all) return true;
    if (static_cast<long>(deadline - GetTickCount()) <= 0) return false;
    Sleeping(100);
  }
}

int CountBufferFiles(const char* folder) {
  WIN32_FIND_DATAA found{};
  const std::string pattern = std::string(folder) + "\\*.tsbuf";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// The live chain of `channel` into a stream-buffer sink, with the video
// stream analyser beside it, in a new graph.
struct SinkSide {
  ComPtr<IGraphBuilder> graph;
  AtscTuning tuning;
  TunerChain chain;
  ComPtr<IBaseFilter> sink;
  ComPtr<IStreamBufferSink> buffer;
};

int BuildSinkSide(Channel channel, SinkSide& side) {
  CHECK("create sink graph", NewGraph(&side.graph));
  std::string step;
  const HRESULT built = BuildLiveChain(side.graph.Get(), channel, Join::Direct, side.tuning, side.chain, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  IGraphBuilder* graph = side.graph.Get();
  ComPtr<IBaseFilter> analyser;
  CHECK("add sink", AddByClsid(graph, CLSID_StreamBufferSink, L"SINK", &side.sink));
  CHECK("add analyser", AddByClsid(graph, CLSID_Mpeg2VideoStreamAnalyzer, L"VSA", &analyser));
  CHECK("connect demultiplexer to analyser", ConnectFilters(graph, side.chain.demux.Get(), analyser.Get(), Join::Direct));
  CHECK("connect demultiplexer to sink", ConnectFilters(graph, side.chain.demux.Get(), side.sink.Get(), Join::Direct));
  CHECK("connect analyser to sink", ConnectFilters(graph, analyser.Get(), side.sink.Get(), Join::Direct));
  CHECK("query IStreamBufferSink", side.sink.As(&side.buffer));
  return 0;
}

// A configuration object on `key`, in the session's own namespace, for a
// ring of `minFiles` to `maxFiles` 15-second backing files in `folder`.
int Configure(HKEY key, const char* folder, DWORD minFiles, DWORD maxFiles, ComPtr<IStreamBufferConfigure>& config) {
  CHECK("create configuration", CoCreateInstance(CLSID_StreamBufferConfig, nullptr, CLSCTX_INPROC_SERVER,
                                                 IID_PPV_ARGS(&config)));
  ComPtr<IStreamBufferInitialize> initialize;
  CHECK("query configuration IStreamBufferInitialize", config.As(&initialize));
  CHECK("configuration SetHKEY", initialize->SetHKEY(key));
  CHECK("SetDirectory", config->SetDirectory(Wide(folder).c_str()));
  CHECK("SetBackingFileCount", config->SetBackingFileCount(minFiles, maxFiles));
  CHECK("SetBackingFileDuration", config->SetBackingFileDuration(15));
  ComPtr<IStreamBufferConfigure3> config3;
  CHECK("query IStreamBufferConfigure3", config.As(&config3));
  CHECK("SetNamespace NULL", config3->SetNamespace(nullptr));
  return 0;
}

// The stream-buffer source reading `buffer`, its pins rendered through the
// test decoders and renderers, in a new graph.
int BuildSourceSide(IStreamBufferSink* buffer, ComPtr<IGraphBuilder>& graph, ComPtr<IBaseFilter>& source) {
  CHECK("create source graph", NewGraph(&graph));
  CHECK("add source", AddByClsid(graph.Get(), CLSID_StreamBufferSource, L"SOURCE", &source));
  ComPtr<IStreamBufferSource> attach;
  CHECK("query IStreamBufferSource", source.As(&attach));
  CHECK("SetStreamSink", attach->SetStreamSink(buffer));
  for (const wchar_t* pinName : {L"Audio", L"Video"}) {
    ComPtr<IPin> pin;
    CHECK("find source pin", source->FindPin(pinName, &pin));
    CHECK("render source pin", graph->Render(pin.Get()));
  }
  return 0;
}

}  // namespace

void PrintValue(const char* name, long long value) { std::printf("%s=%lld\n", name, value); }

void PrintPositions(const char* prefix, IStreamBufferMediaSeeking* seeking) {
  LONGLONG current = -1, earliest = -1, latest = -1, duration = -1;
  seeking->GetCurrentPosition(&current);  // -1 stays when it fails
  seeking->GetAvailable(&earliest, &latest);
  seeking->GetDuration(&duration);
  std::printf("%scurrent_ms=%lld\n%searliest_ms=%lld\n%slatest_ms=%lld\n%sduration_ms=%lld\n", prefix,
              current / kMillisecond, prefix, earliest / kMillisecond, prefix, latest / kMillisecond,
              prefix, duration / kMillisecond);
}

int Record(const char* folder, double seconds, Channel channel, const char* recording) {
  SinkSide live;
  if (const int failed = BuildSinkSide(channel, live)) return failed;
  ComPtr<IGraphBuilder>& sinkGraph = live.graph;
  ComPtr<IBaseFilter>& sink = live.sink;
  ComPtr<IStreamBufferSink>& buffer = live.buffer;

  // The folder and the ring through the configuration object and the key.
  UniqueHkey key;
  CHECK("open key", HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                                       KEY_ALL_ACCESS, nullptr, key.Put(), nullptr)));
  ComPtr<IStreamBufferConfigure> config;
  if (const int failed = Configure(key.Get(), folder, 2, 3, config)) return failed;
  ComPtr<IStreamBufferInitialize> sinkInitialize;
  CHECK("query sink IStreamBufferInitialize", sink.As(&sinkInitialize));
  const std::wstring stub = Wide(folder) + L"\\stub_1.dvr-ms";

  // In the global namespace (the default) a normal user may not lock the
  // profile; in the session's own, set through the key, it may.
  ComPtr<IStreamBufferConfigure3> config3;
  CHECK("query IStreamBufferConfigure3", config.As(&config3));
  wchar_t global[] = L"Global";
  CHECK("SetNamespace Global", config3->SetNamespace(global));
  CHECK("sink SetHKEY", sinkInitialize->SetHKEY(key.Get()));
  PrintResult("lock_global", buffer->LockProfile(stub.c_str()));
  CHECK("SetNamespace NULL", config3->SetNamespace(nullptr));
  CHECK("sink SetHKEY again", sinkInitialize->SetHKEY(key.Get()));

  PrintResult("profile_locked_before", buffer->IsProfileLocked());
  PrintResult("lock", buffer->LockProfile(stub.c_str()));
  PrintResult("lock_same", buffer->LockProfile(stub.c_str()));
  PrintResult("lock_other", buffer->LockProfile((Wide(folder) + L"\\stub_2.dvr-ms").c_str()));
  PrintResult("profile_locked", buffer->IsProfileLocked());
  ComPtr<IUnknown> recorderObject;
  CHECK("CreateRecorder", buffer->CreateRecorder(Wide(recording).c_str(), kRecordingTypeContent, &recorderObject));
  ComPtr<IStreamBufferRecordControl> recorder;
  CHECK("query IStreamBufferRecordControl", recorderObject.As(&recorder));

  // The timeshift side: the buffer through the test decoders and renderers.
  ComPtr<IGraphBuilder> sourceGraph;
  ComPtr<IBaseFilter> source;
  if (const int failed = BuildSourceSide(buffer.Get(), sourceGraph, source)) return failed;
  // Live content seeks through IStreamBufferMediaSeeking only.
  ComPtr<IMediaSeeking> plain;
  PrintResult("live_media_seeking", source.As(&plain));
  ComPtr<IStreamBufferMediaSeeking> seeking;
  CHECK("query IStreamBufferMediaSeeking", source.As(&seeking));

  ComPtr<IMediaControl> sinkControl, sourceControl;
  CHECK("query sink IMediaControl", sinkGraph.As(&sinkControl));
  CHECK("query source IMediaControl", sourceGraph.As(&sourceControl));
  CHECK("run sink graph", sinkControl->Run());
  REFERENCE_TIME start = 0;  // now
  PrintResult("start", recorder->Start(&start));
  const DWORD started = GetTickCount();
  CHECK("run source graph", sourceControl->Run());
  const auto elapsed = [&] { return static_cast<double>(GetTickCount() - started) / 1000.0; };
  const auto waitUntil = [&](double second) {
    while (elapsed() < second) Sleeping(100);
  };

  waitUntil(8);
  PrintPositions("early.", seeking.Get());
  CHECK("pause source graph", sourceControl->Pause());
  waitUntil(23);
  PrintPositions("paused.", seeking.Get());
  CHECK("resume source graph", sourceControl->Run());
  waitUntil(26);
  PrintPositions("resumed.", seeking.Get());

  // The recording read while it grows.
  ComPtr<IGraphBuilder> growingGraph;
  CHECK("create growing graph", NewGraph(&growingGraph));
  ComPtr<IBaseFilter> growingSource, videoCounter, audioCounter;
  CHECK("add growing source", AddByClsid(growingGraph.Get(), CLSID_StreamBufferSource, L"SOURCE", &growingSource));
  ComPtr<IFileSourceFilter> growingFile;
  CHECK("query IFileSourceFilter", growingSource.As(&growingFile));
  CHECK("load growing recording", growingFile->Load(Wide(recording).c_str(), nullptr));
  CHECK("connect growing video", AddCounter(growingGraph.Get(), growingSource.Get(), L"Video Count", videoCounter));
  CHECK("connect growing audio", AddCounter(growingGraph.Get(), growingSource.Get(), L"Audio Count", audioCounter));
  ComPtr<IMediaControl> growingControl;
  CHECK("query growing IMediaControl", growingGraph.As(&growingControl));
  CHECK("run growing graph", growingControl->Run());

  waitUntil(seconds - 4);
  PrintPositions("end.", seeking.Get());
  PrintValue("buffer_files", CountBufferFiles(folder));
  // Back to live: as far forward as the buffer allows.
  LONGLONG earliest = 0, latest = 0;
  CHECK("GetAvailable", seeking->GetAvailable(&earliest, &latest));
  CHECK("seek to live", seeking->SetPositions(&latest, AM_SEEKING_AbsolutePositioning, nullptr,
                                               AM_SEEKING_NoPositioning));
  waitUntil(seconds);
  PrintPositions("live.", seeking.Get());

  PrintResult("stop", recorder->Stop(0));
  const DWORD stopped = GetTickCount();
  PrintValue("recorded_ms", static_cast<long long>(stopped - started));
  HRESULT status = E_FAIL;
  BOOL wasStarted = FALSE, wasStopped = FALSE;
  CHECK("GetRecordingStatus", recorder->GetRecordingStatus(&status, &wasStarted, &wasStopped));
  PrintResult("status", status);
  PrintValue("status_started", wasStarted);
  PrintValue("status_stopped", wasStopped);

  // The growing recording's reader reaches its end once it is finished.
  PrintValue("growing.complete", WaitForEnds({videoCounter, audioCounter}, 60000) ? 1 : 0);
  PrintReport("growing.video.", Counter(videoCounter).Report());
  PrintReport("growing.audio.", Counter(audioCounter).Report());
  CHECK("stop growing graph", growingControl->Stop());
  CHECK("stop source graph", sourceControl->Stop());
  CHECK("stop sink graph", sinkControl->Stop());
  // Stopping keeps the profile; leaving the graph lets it go.
  PrintResult("profile_locked_stopped", buffer->IsProfileLocked());
  CHECK("remove sink", sinkGraph->RemoveFilter(sink.Get()));
  PrintResult("profile_locked_removed", buffer->IsProfileLocked());
  PrintResult("lock_again", buffer->LockProfile((Wide(folder) + L"\\stub_2.dvr-ms").c_str()));
  // A sink is initialised once: its key cannot change after a lock.
  PrintResult("sethkey_after_lock", sinkInitialize->SetHKEY(key.Get()));
  // The backing files go with the last reader of the buffer.
  CHECK("remove source", sourceGraph->RemoveFilter(source.Get()));
  seeking.Reset();
  source.Reset();
  PrintValue("buffer_files_after", CountBufferFiles(folder));
  return 0;
}

int Play(const char* file, double seekSeconds) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", NewGraph(&graph));
  ComPtr<IBaseFilter> source, videoCounter, audioCounter;
  CHECK("add source", AddByClsid(graph.Get(), CLSID_StreamBufferSource, L"SOURCE", &source));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", source.As(&load));
  const HRESULT loaded = load->Load(Wide(file).c_str(), nullptr);
  PrintResult("load", loaded);
  if (FAILED(loaded)) return 0;
  PrintResult("load_again", load->Load(Wide(file).c_str(), nullptr));
  CHECK("connect video", AddCounter(graph.Get(), source.Get(), L"Video Count", videoCounter));
  CHECK("connect audio", AddCounter(graph.Get(), source.Get(), L"Audio Count", audioCounter));
  // A finished recording answers plain IMediaSeeking until the application
  // takes IStreamBufferMediaSeeking; then neither a new query nor the
  // pointer taken before works.
  ComPtr<IMediaSeeking> plain;
  PrintResult("media_seeking", source.As(&plain));
  LONGLONG length = -1;
  if (plain) PrintResult("media_seeking_duration", plain->GetDuration(&length));
  ComPtr<IStreamBufferMediaSeeking> seeking;
  CHECK("query IStreamBufferMediaSeeking", source.As(&seeking));
  ComPtr<IMediaSeeking> again;
  PrintResult("media_seeking_after", source.As(&again));
  if (plain) PrintResult("media_seeking_duration_after", plain->GetDuration(&length));
  plain.Reset();
  PrintPositions("loaded.", seeking.Get());
  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  CHECK("Run", control->Run());
  PrintValue("complete", WaitForEnds({videoCounter, audioCounter}, 90000) ? 1 : 0);
  PrintReport("video.", Counter(videoCounter).Report());
  PrintReport("audio.", Counter(audioCounter).Report());
  CHECK("Stop", control->Stop());
  if (seekSeconds < 0) return 0;

  Counter(videoCounter).Clear();
  Counter(audioCounter).Clear();
  LONGLONG position = static_cast<LONGLONG>(seekSeconds * 10'000'000);
  CHECK("SetPositions", seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                              AM_SEEKING_NoPositioning));
  PrintPositions("seek.", seeking.Get());
  CHECK("Run again", control->Run());
  PrintValue("seek.complete", WaitForEnds({videoCounter, audioCounter}, 90000) ? 1 : 0);
  PrintReport("seek.video.", Counter(videoCounter).Report());
  PrintReport("seek.audio.", Counter(audioCounter).Report());
  // Fast forward: pictures only, their times closer together.
  CHECK("Stop again", control->Stop());
  Counter(videoCounter).Clear();
  Counter(audioCounter).Clear();
  position = 0;
  CHECK("SetPositions to start", seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                                       AM_SEEKING_NoPositioning));
  PrintResult("rate", seeking->SetRate(4.0));
  CHECK("Run fast", control->Run());
  PrintValue("fast.complete", WaitForEnds({videoCounter}, 90000) ? 1 : 0);
  PrintReport("fast.video.", Counter(videoCounter).Report());
  PrintReport("fast.audio.", Counter(audioCounter).Report());
  CHECK("Stop fast", control->Stop());
  return 0;
}

int Check(const char* file) {
  standin::ReadableFile reader;
  CHECK("open", reader.Open(Wide(file)));
  const streambuffer::RecordingSummary s = streambuffer::Summarize(reader);
  PrintValue("packets", static_cast<long long>(s.packets));
  PrintValue("stray_bytes", static_cast<long long>(s.strayBytes));
  PrintValue("counter_errors", static_cast<long long>(s.counterErrors));
  PrintValue("video_units", static_cast<long long>(s.videoUnits));
  PrintValue("audio_units", static_cast<long long>(s.audioUnits));
  PrintValue("random_access", static_cast<long long>(s.randomAccessPoints));
  PrintValue("span_ms", static_cast<long long>((s.lastPts - s.firstPts) / 90));
  PrintValue("largest_video_step", static_cast<long long>(s.largestVideoStep));
  PrintValue("largest_audio_step", static_cast<long long>(s.largestAudioStep));
  PrintValue("backward_steps", static_cast<long long>(s.backwardSteps));
  PrintValue("tables", s.hasTables ? 1 : 0);
  std::printf("size=%dx%d\n", s.width, s.height);
  return 0;
}

int Edges(const char* folder) {
  ComPtr<IStreamBufferConfigure> config;
  CHECK("create configuration", CoCreateInstance(CLSID_StreamBufferConfig, nullptr, CLSCTX_INPROC_SERVER,
                                                 IID_PPV_ARGS(&config)));
  PrintResult("count_too_few", config->SetBackingFileCount(1, 3));
  PrintResult("count_reversed", config->SetBackingFileCount(5, 4));
  PrintResult("duration_too_short", config->SetBackingFileDuration(5));
  PrintResult("directory_null", config->SetDirectory(nullptr));
  PrintResult("directory_empty", config->SetDirectory(L""));
  const std::wstring nested = Wide(folder) + L"\\made\\here";
  PrintResult("directory_nested", config->SetDirectory(nested.c_str()));
  const std::wstring made = Wide(folder) + L"\\made";
  PrintResult("directory_made", config->SetDirectory(made.c_str()));
  LPWSTR directory = nullptr;
  PrintResult("get_directory", config->GetDirectory(&directory));
  if (directory != nullptr) {
    std::printf("directory_same=%d\n", made == directory ? 1 : 0);
    CoTaskMemFree(directory);
  }

  ComPtr<IBaseFilter> sink;
  CHECK("create sink", CoCreateInstance(CLSID_StreamBufferSink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(&sink)));
  ComPtr<IStreamBufferSink> buffer;
  CHECK("query IStreamBufferSink", sink.As(&buffer));
  // A sink never given a key makes its objects in the global namespace.
  PrintResult("lock_without_key", buffer->LockProfile((Wide(folder) + L"\\stub.dvr-ms").c_str()));
  UniqueHkey key;
  CHECK("open key", HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                                       KEY_ALL_ACCESS, nullptr, key.Put(), nullptr)));
  ComPtr<IStreamBufferInitialize> initialize, sinkInitialize;
  CHECK("query configuration IStreamBufferInitialize", config.As(&initialize));
  CHECK("configuration SetHKEY", initialize->SetHKEY(key.Get()));
  ComPtr<IStreamBufferConfigure3> config3;
  CHECK("query IStreamBufferConfigure3", config.As(&config3));
  CHECK("SetNamespace NULL", config3->SetNamespace(nullptr));
  CHECK("query sink IStreamBufferInitialize", sink.As(&sinkInitialize));
  CHECK("sink SetHKEY", sinkInitialize->SetHKEY(key.Get()));
  PrintResult("lock_missing_folder", buffer->LockProfile((Wide(folder) + L"\\no\\such\\stub.dvr-ms").c_str()));
  PrintResult("lock_too_long", buffer->LockProfile(std::wstring(400, L'x').c_str()));
  PrintResult("profile_locked", buffer->IsProfileLocked());
  ComPtr<IUnknown> recorder;
  // A recording object needs a locked profile (or a running sink).
  PrintResult("recorder_unlocked",
              buffer->CreateRecorder((Wide(folder) + L"\\early.dvr-ms").c_str(), kRecordingTypeContent, &recorder));
  CHECK("lock", buffer->LockProfile((Wide(folder) + L"\\edges_stub.dvr-ms").c_str()));
  PrintResult("recorder_reference",
              buffer->CreateRecorder((Wide(folder) + L"\\ref.dvr-ms").c_str(), kRecordingTypeReference, &recorder));
  PrintResult("recorder_unknown_type",
              buffer->CreateRecorder((Wide(folder) + L"\\ref.dvr-ms").c_str(), 7, &recorder));
  PrintResult("recorder_missing_folder",
              buffer->CreateRecorder((Wide(folder) + L"\\no\\such\\rec.dvr-ms").c_str(), kRecordingTypeContent,
                                     &recorder));
  ComPtr<IStreamBufferRecordControl> control;
  if (recorder) recorder.As(&control);
  if (control) {
    REFERENCE_TIME at = -1;
    PrintResult("start_null", control->Start(nullptr));
    PrintResult("start_negative", control->Start(&at));
    at = 6 * 10'000'000LL;
    PrintResult("start_late", control->Start(&at));
    PrintResult("stop_late", control->Stop(at));
    at = 0;
    PrintResult("start_missing_folder", control->Start(&at));
    PrintResult("stop_unstarted", control->Stop(0));
  }

  ComPtr<IBaseFilter> source;
  CHECK("create source", CoCreateInstance(CLSID_StreamBufferSource, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(&source)));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", source.As(&load));
  PrintResult("load_missing", load->Load((Wide(folder) + L"\\missing.dvr-ms").c_str(), nullptr));
  ComPtr<IStreamBufferSource> attach;
  CHECK("query IStreamBufferSource", source.As(&attach));
  PrintResult("attach_not_a_sink", attach->SetStreamSink(reinterpret_cast<IStreamBufferSink*>(config.Get())));
  // Only the sink's IStreamBufferSink is taken: its filter interface is not.
  PrintResult("attach_filter_interface", attach->SetStreamSink(reinterpret_cast<IStreamBufferSink*>(sink.Get())));
  ComPtr<IStreamBufferMediaSeeking> seeking;
  CHECK("query IStreamBufferMediaSeeking", source.As(&seeking));
  LONGLONG duration = 0;
  PrintResult("duration_nothing_loaded", seeking->GetDuration(&duration));
  PrintResult("rate_zero", seeking->SetRate(0.0));
  PrintResult("rate_slow", seeking->SetRate(-0.05));
  return 0;
}

// A reader paused in the oldest file of a ring of at most two 15-s files
// while the sink goes on: the file after it is deleted, and when playback
// reaches the end of its file the source tells of the hole. The reader then
// seeks past it, as an application does, and plays on from there.
int Hole(const char* folder, Channel channel) {
  SinkSide live;
  if (const int failed = BuildSinkSide(channel, live)) return failed;
  UniqueHkey key;
  CHECK("open key", HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Telvantis Standin Test\\Hole",
                                                       0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr)));
  ComPtr<IStreamBufferConfigure> config;
  if (const int failed = Configure(key.Get(), folder, 2, 2, config)) return failed;
  ComPtr<IStreamBufferInitialize> sinkInitialize;
  CHECK("query sink IStreamBufferInitialize", live.sink.As(&sinkInitialize));
  CHECK("sink SetHKEY", sinkInitialize->SetHKEY(key.Get()));
  CHECK("LockProfile", live.buffer->LockProfile((Wide(folder) + L"\\hole_stub.dvr-ms").c_str()));
  ComPtr<IGraphBuilder>& sinkGraph = live.graph;

  ComPtr<IGraphBuilder> sourceGraph;
  ComPtr<IBaseFilter> source;
  if (const int failed = BuildSourceSide(live.buffer.Get(), sourceGraph, source)) return failed;
  ComPtr<IStreamBufferMediaSeeking> seeking;
  CHECK("query IStreamBufferMediaSeeking", source.As(&seeking));
  ComPtr<IMediaEvent> events;
  CHECK("query IMediaEvent", sourceGraph.As(&events));
  ComPtr<IMediaControl> sinkControl, sourceControl;
  CHECK("query sink IMediaControl", sinkGraph.As(&sinkControl));
  CHECK("query source IMediaControl", sourceGraph.As(&sourceControl));
  CHECK("run sink graph", sinkControl->Run());
  const DWORD started = GetTickCount();
  CHECK("run source graph", sourceControl->Run());
  const auto waitUntil = [&](double second) {
    while (static_cast<double>(GetTickCount() - started) / 1000.0 < second) Sleeping(100);
  };
  waitUntil(8);
  CHECK("pause source graph", sourceControl->Pause());
  PrintPositions("paused.", seeking.Get());
  // The third file begins at about 30 s: the second one goes then.
  waitUntil(34);
  PrintValue("buffer_files", CountBufferFiles(folder));
  CHECK("resume source graph", sourceControl->Run());
  long code = 0;
  LONG_PTR start = 0, length = 0;
  bool hole = false;
  while (!hole && GetTickCount() - started < 60000) {
    if (events->GetEvent(&code, &start, &length, 500) != S_OK) continue;
    hole = code == 0x0326;
    if (!hole) events->FreeEventParams(code, start, length);
  }
  PrintValue("hole", hole ? 1 : 0);
  if (!hole) return 0;
  PrintValue("hole.start_ms", static_cast<long long>(start));
  PrintValue("hole.length_ms", static_cast<long long>(length));
  PrintPositions("hole.", seeking.Get());
  LONGLONG past = (static_cast<LONGLONG>(start) + static_cast<LONGLONG>(length)) * kMillisecond;
  CHECK("seek past the hole", seeking->SetPositions(&past, AM_SEEKING_AbsolutePositioning, nullptr,
                                                     AM_SEEKING_NoPositioning));
  const DWORD seeked = GetTickCount();
  while (GetTickCount() - seeked < 2000) Sleeping(100);
  PrintPositions("past.", seeking.Get());
  while (GetTickCount() - seeked < 5000) Sleeping(100);
  PrintPositions("later.", seeking.Get());
  CHECK("stop source graph", sourceControl->Stop());
  CHECK("stop sink graph", sinkControl->Stop());
  return 0;
}
