#include "browser/event_connection_win.h"

bool EventConnection::Connect(IUnknown* source, REFIID events, IUnknown* sink) {
  Disconnect();
  const auto container = win::QueryInterfaceOf<IConnectionPointContainer>(source);
  if (!container || sink == nullptr) return false;
  win::ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(events, point.Put())) || !point) return false;
  DWORD cookie = 0;
  if (FAILED(point->Advise(sink, &cookie))) return false;
  point_ = std::move(point);
  cookie_ = cookie;
  return true;
}

void EventConnection::Disconnect() {
  if (point_ && cookie_ != 0) point_->Unadvise(cookie_);
  cookie_ = 0;
  point_.Reset();
}
