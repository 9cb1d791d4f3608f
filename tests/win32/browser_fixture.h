// What the browser tests share: OLE on the test's thread, and a top-level
// window for the browser hosts to live in, both ended by the test.
#pragma once

#include <gtest/gtest.h>
#include <ole2.h>

// The references an object holds, read as an AddRef and Release pair
// answer them (the count after the Release).
inline ULONG CountOf(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

class BrowserFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    parent_ = CreateWindowExA(0, "STATIC", "browser test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480, 360,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
    OleUninitialize();
  }
  HWND Parent() const { return parent_; }

 private:
  HWND parent_ = nullptr;
};
