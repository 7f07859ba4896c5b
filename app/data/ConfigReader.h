// Reader of config.xml: the model list and the software identity.
//
// Element order is fixed, since XmlDocument searches only forward:
// config > device.info > keyboard*, then config > software > website, store,
// upgrade, copyright. A `software` placed before `device.info` is not found.
#pragma once

#include <string>

#include "app/data/DescriptionTargets.h"
#include "app/data/DeviceDescription.h"

// "VID_%04X&PID_%04X" with upper-case digits.
std::wstring MakeIdPattern(int vid, int pid);

// What config.xml held. Fields of `software` stay empty when their element is missing.
struct ConfigContents {
  bool loaded = false;        // the file was read and well-formed
  bool has_software = false;  // the `software` element was found
  bool has_copyright = false;
  ModelList models;
  SoftwareIdentity software;
};

// Parses the file at `path` (nothing else happens). A missing or ill-formed
// file gives loaded = false and no models.
ConfigContents ReadConfigFile(const std::wstring& path);

// The start-up read: clears `models`, reads `<programFolder>config.xml`,
// keeps the models in file order, and for each one registers its filter and
// adds it to the selector; shows caption, "Ver: %s" and copyright (only those
// found: a missing file leaves the window's texts as they were) and stores the
// identity in `software`; finally starts one input reader per model and
// registers the device notifications (also when the file was missing).
// Any target may be null. Returns whether the file was loaded.
bool LoadConfig(const std::wstring& programFolder, ModelList& models, SoftwareIdentity& software,
                DeviceFilterRegistry* filters, DeviceSelector* selector, FrameTexts* texts, InputReaderHost* readers);

// The first model entry whose type equals `type` (file order), or null.
const ModelEntry* FindModelByType(const ModelList& models, int type);
