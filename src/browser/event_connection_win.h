// One advised connection from an object's connection point to a sink: made
// once, taken down once, at the latest when the holder goes.
#pragma once

#include <ocidl.h>

#include "win/com_ptr.h"

class EventConnection {
 public:
  EventConnection() = default;
  ~EventConnection() { Disconnect(); }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

  // Advises `sink` on `source`'s connection point for `events`, first
  // taking down the connection held before. False when the source has no
  // such point or refuses the sink.
  bool Connect(IUnknown* source, REFIID events, IUnknown* sink);
  void Disconnect();
  bool IsConnected() const { return cookie_ != 0; }
  DWORD Cookie() const { return cookie_; }

 private:
  win::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};
