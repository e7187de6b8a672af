#include "scheduler/WakeUpTask.h"

#include <windows.h>
#include <initguid.h>
#include <mstask.h>
#include <wrl/client.h>

#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

HRESULT MoveTrigger(const std::string& taskName, bool enabled, const CivilTime& trigger) {
  ComPtr<ITaskScheduler> scheduler;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskScheduler, reinterpret_cast<void**>(scheduler.GetAddressOf())));
  const std::wstring name(taskName.begin(), taskName.end());
  ComPtr<ITask> task;
  // A task that is not there is no failure: the user has not set one up.
  if (FAILED(scheduler->Activate(name.c_str(), IID_ITask,
                                 reinterpret_cast<IUnknown**>(task.GetAddressOf()))))
    return S_FALSE;
  // The task may have no trigger yet; a failed delete changes nothing.
  (void)task->DeleteTrigger(0);
  WORD index = 0;
  ComPtr<ITaskTrigger> taskTrigger;
  RETURN_IF_FAILED(task->CreateTrigger(&index, taskTrigger.GetAddressOf()));
  TASK_TRIGGER when{};
  when.cbTriggerSize = sizeof when;
  when.wBeginYear = static_cast<WORD>(trigger.year);
  when.wBeginMonth = static_cast<WORD>(trigger.month);
  when.wBeginDay = static_cast<WORD>(trigger.day);
  when.wStartHour = static_cast<WORD>(trigger.hour);
  when.wStartMinute = static_cast<WORD>(trigger.minute);
  when.TriggerType = TASK_TIME_TRIGGER_ONCE;
  when.rgFlags = enabled ? 0 : TASK_TRIGGER_FLAG_DISABLED;
  RETURN_IF_FAILED(taskTrigger->SetTrigger(&when));
  ComPtr<IPersistFile> file;
  RETURN_IF_FAILED(task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.GetAddressOf())));
  return file->Save(nullptr, TRUE);
}

}  // namespace

bool UpdateWakeUpTask(const std::string& taskName, bool enabled, const CivilTime& trigger) {
  return SUCCEEDED(MoveTrigger(taskName, enabled, trigger));
}
