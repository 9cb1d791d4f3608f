// A certificate the Wine prefix trusts as a root for as long as the object
// lives: added to the machine's root store, which every process of the
// prefix reads when it checks a server's chain (WinINet through crypt32),
// and removed again at the end. The machine's store rather than the user's:
// adding to the user's asks the user first on Windows.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <wincrypt.h>

#include "win_testkit.h"

namespace testkit {

class TrustedRoot {
 public:
  explicit TrustedRoot(const Bytes& der);
  ~TrustedRoot();
  TrustedRoot(const TrustedRoot&) = delete;
  TrustedRoot& operator=(const TrustedRoot&) = delete;

  bool Added() const { return added_; }

 private:
  Bytes der_;
  bool added_ = false;
};

}  // namespace testkit
