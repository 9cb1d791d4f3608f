// The IUnknown (and, for automation objects, the IDispatch type
// information) that every COM object of the launcher implements the same
// way, so that each object writes only what it does.
//
// The objects are members of the windows and hosts that use them, not heap
// objects handed to COM: their owner frees them. They still count
// references as COM asks, so a caller sees the counts it expects, but no
// count frees anything, and an unbalanced Release stops at zero instead of
// wrapping round.
#pragma once

#include <oaidl.h>
#include <unknwn.h>

#include <atomic>
#include <cstddef>
#include <span>
#include <type_traits>

namespace win {

// One interface an object answers for: its identifier and which of the
// object's interface bases hands it out, by position in the object's list.
struct ComAnswer {
  const IID* iid;
  std::size_t face;
};

// `Faces` are the COM interfaces the object derives from. The object names
// each identifier it answers for, IUnknown included, with Answer<Face>(iid);
// QueryInterface refuses every other one.
template <class... Faces>
class ComObject : public Faces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    for (const ComAnswer& answer : answers_) {
      if (*answer.iid != iid) continue;
      *object = Face(answer.face);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Both return the count they leave. The count is atomic: a script engine
  // may count from a thread of its own.
  STDMETHODIMP_(ULONG) AddRef() override { return ++count_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG count = count_.load();
    while (count > 0 && !count_.compare_exchange_weak(count, count - 1)) {
    }
    return count > 0 ? count - 1 : 0;
  }

 protected:
  // `iid` is handed out as the object's base `Face`.
  template <class Face>
  static constexpr ComAnswer Answer(const IID& iid) {
    static_assert((std::is_same_v<Face, Faces> || ...), "Face is not one of the object's interfaces");
    constexpr bool matches[] = {std::is_same_v<Face, Faces>...};
    std::size_t index = 0;
    while (!matches[index]) ++index;
    return {&iid, index};
  }

  // `answers` outlives the object (a static table of the class). `count` is
  // where counting starts: 0 for an object nobody holds yet, 1 for one whose
  // owner counts as its first holder, as for an object COM made.
  explicit ComObject(std::span<const ComAnswer> answers, ULONG count = 0) : answers_(answers), count_(count) {}
  ~ComObject() = default;

 private:
  void* Face(std::size_t index) {
    void* const faces[] = {static_cast<Faces*>(this)...};
    return faces[index];
  }

  std::span<const ComAnswer> answers_;
  std::atomic<ULONG> count_;
};

// An automation object without type information: IDispatch as its first
// face, the type information refused, and no names known unless the object
// itself gives GetIDsOfNames and Invoke a meaning.
template <class... Faces>
class DispatchObject : public ComObject<IDispatch, Faces...> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

 protected:
  using ComObject<IDispatch, Faces...>::ComObject;
  ~DispatchObject() = default;
};

}  // namespace win
