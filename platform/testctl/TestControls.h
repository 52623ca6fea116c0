// Test controls: fault injection and a record of the platform calls made.
//
// Every platform operation that the rendering layer, the scene or the saver
// shell calls begins with Enter("<Interface>::<Method>", object) (or the bare
// function name, "DirectDrawCreate"), and fails with the returned code when it
// is not S_OK. Tests arm failures and read the record; the saver never calls
// anything here. While nothing is armed and recording is off, Enter is one
// relaxed atomic load.
#pragma once

#include <string>
#include <vector>

#include "kernel/Win32Types.h"

struct IUnknown;

namespace vyn::testctl {

struct CallRecord {
  std::string operation;  // "IDirectDraw::CreateSurface", "Release", "CreateWindowExA"
  const void* object;     // the object acted on (the interface pointer), or null
};

// Entry hook of a platform operation: records the call when recording is on
// and returns the failure armed for it, or S_OK.
HRESULT Enter(const char* operation, const void* object = nullptr);

// Called by every object's Release with the count it will have afterwards.
void RecordRelease(const IUnknown* object, ULONG remainingReferences);

// From now on, the nth call (counted from 1) of `operation` and the
// `times - 1` calls after it return `result`.
void FailCall(const std::string& operation, int nth, HRESULT result, int times = 1);

void StartRecording();
void StopRecording();
std::vector<CallRecord> Calls();
// Only the calls of one operation, in order.
std::vector<CallRecord> CallsOf(const std::string& operation);
void ClearCalls();

// Disarms every failure, stops recording and forgets the calls and counts.
void Reset();

}  // namespace vyn::testctl
