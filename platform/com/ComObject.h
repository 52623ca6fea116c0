// Reference counting shared by every platform object.
#pragma once

#include "com/Unknown.h"
#include <initializer_list>
#include <utility>

#include "testctl/TestControls.h"

namespace vyn::com {

// Implements AddRef and Release for an object whose most derived interface is
// Interface. Release is recorded with the test controls so that tests can check
// the order in which objects are given up. Derived classes implement
// QueryInterface (see QueryFor below) and may override OnFinalRelease.
template <class Interface>
class ComObject : public Interface {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  ULONG AddRef() override { return ++references_; }

  ULONG Release() override {
    vyn::testctl::RecordRelease(static_cast<IUnknown*>(this), references_ - 1);
    const ULONG remaining = --references_;
    if (remaining == 0) delete this;
    return remaining;
  }

  // References that the platform takes on its own objects (a device on its
  // render target, a surface on its attached Z-buffer) go through these, so
  // the record of Release calls shows only what callers did.
  void AddRefInternal() { ++references_; }
  void ReleaseInternal() {
    if (--references_ == 0) delete this;
  }

  ULONG ReferenceCount() const { return references_; }

 private:
  ULONG references_ = 1;
};

// Answers QueryInterface for the given IIDs: *object receives `self` as the
// matching interface with one reference added, else null and E_NOINTERFACE.
inline HRESULT QueryFor(IUnknown* self, REFIID iid, void** object,
                        std::initializer_list<std::pair<const IID*, void*>> offered) {
  if (object == nullptr) return E_POINTER;
  for (const auto& [id, as] : offered) {
    if (*id == iid) {
      *object = as;
      self->AddRef();
      return S_OK;
    }
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace vyn::com
