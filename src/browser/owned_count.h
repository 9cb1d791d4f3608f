// The reference count of a COM object whose owner frees it, not its count:
// callers still count as COM asks, so the object answers them, but no value
// frees anything, and an unbalanced Release stops at zero.
#pragma once

#include <windows.h>

class OwnedCount {
 public:
  ULONG Add() { return ++count_; }
  ULONG Drop() {
    if (count_ > 0) --count_;
    return count_;
  }

 private:
  ULONG count_ = 0;
};
