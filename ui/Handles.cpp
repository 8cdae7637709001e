#include "Handles.h"

#include <array>
#include <atomic>

namespace ui {

namespace {
std::array<std::atomic<int>, static_cast<size_t>(HandleKind::Count)> counts;
}

int LiveHandles(HandleKind kind) { return counts[static_cast<size_t>(kind)]; }

void detail::CountHandle(HandleKind kind, int delta) { counts[static_cast<size_t>(kind)] += delta; }

WindowDC::WindowDC(HWND window, bool wholeWindow)
    : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {
  if (dc_) detail::CountHandle(HandleKind::WindowDc, +1);
}

WindowDC::~WindowDC() {
  if (!dc_) return;
  ReleaseDC(window_, dc_);
  detail::CountHandle(HandleKind::WindowDc, -1);
}

PaintDC::PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {
  detail::CountHandle(HandleKind::Paint, +1);
}

PaintDC::~PaintDC() {
  EndPaint(window_, &ps_);
  detail::CountHandle(HandleKind::Paint, -1);
}

SelectedObject::SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {
  if (old_) detail::CountHandle(HandleKind::Selection, +1);
}

SelectedObject::~SelectedObject() {
  if (!old_) return;
  SelectObject(dc_, old_);
  detail::CountHandle(HandleKind::Selection, -1);
}

}  // namespace ui
