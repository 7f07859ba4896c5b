// Root of the toolkit's object tree: class-name query and the two upward entry points
// a child uses to talk to its parent.
#pragma once

#include <korinui/Types.h>
#include <korinui/WinDefs.h>

class MControl;

class MObject {
 public:
  virtual ~MObject() = default;
  // True when GetClassNameW() equals `name` exactly (case-sensitive).
  virtual bool IsClass(const wchar_t* name) const;
  // The class-name string; null for the root.
  virtual const wchar_t* GetClassNameW() const { return nullptr; }
  virtual MObject* GetObjectClass() { return nullptr; }
  virtual const wchar_t* BaseObjectClassName() { return nullptr; }
  // Notification from child `id` (codes: 1 press, 2 click, 3 double click, 8 position,
  // 14 key ...). Default 0.
  virtual LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) { return 0; }
  // A child asks for `rect` to be repainted. Any thread may call. Default 0.
  virtual LRESULT OnControlUpdate(CRect rect, int resetCache, MControl* control) { return 0; }
};
