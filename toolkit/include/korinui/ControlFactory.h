// Creation of controls from their class names. Each factory (the panel's and the
// window's) knows a fixed, ordered table of names with the constructor arguments each
// takes; a class becomes creatable once its library part registers a creator for its
// name. Registration is process-wide and may happen at any time before creation.
#pragma once

#include <korinui/MControl.h>

// Builds one control. The factory passes the arguments the name's table row asks for
// (fixed 1s already substituted); a creator ignores what its class does not take.
using ControlCreator = MControl* (*)(MObject* parent, UINT id, CRect rect, const wchar_t* title,
                                     int visible, int enabled);

namespace ControlFactory {

enum class Level { Panel, Window };

// Registers (or replaces) the creator for `className`. Thread-safe.
void Register(const wchar_t* className, ControlCreator creator);
// True when the table of `level` lists the name (registered or not).
bool IsListed(Level level, const wchar_t* className);
// Constructs the control named `className` if the level's table lists it and a
// creator is registered; null otherwise (also for empty names). Nothing is attached.
MControl* Create(Level level, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                 const wchar_t* title, int visible, int enabled);

}  // namespace ControlFactory
