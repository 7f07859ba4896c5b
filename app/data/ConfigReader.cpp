#include "app/data/ConfigReader.h"

#include <cstdio>

#include "app/data/NumberText.h"
#include "app/data/XmlDocument.h"

std::wstring MakeIdPattern(int vid, int pid) {
  wchar_t buf[32];
  std::swprintf(buf, 32, L"VID_%04X&PID_%04X", static_cast<unsigned>(vid), static_cast<unsigned>(pid));
  return buf;
}

ConfigContents ReadConfigFile(const std::wstring& path) {
  ConfigContents out;
  XmlDocument doc;
  if (!doc.Load(path)) return out;
  out.loaded = true;
  if (!doc.FindElement(L"config")) return out;
  doc.EnterElement();
  if (doc.FindElement(L"device.info")) {
    doc.EnterElement();
    while (doc.FindElement(L"keyboard")) {
      ModelEntry m;
      m.name = doc.GetAttribute(L"name");
      m.type = DecimalToInt(doc.GetAttribute(L"type"));
      m.vid = HexToInt(doc.GetAttribute(L"vid"));
      m.pid = HexToInt(doc.GetAttribute(L"pid"));
      m.layout_file = doc.GetAttribute(L"layout_file");
      m.id_pattern = MakeIdPattern(m.vid, m.pid);
      out.models.push_back(std::move(m));
    }
    doc.LeaveElement();
  }
  if (doc.FindElement(L"software")) {
    out.has_software = true;
    SoftwareIdentity& s = out.software;
    s.caption = doc.GetAttribute(L"caption");
    s.version = doc.GetAttribute(L"version");
    doc.EnterElement();
    if (doc.FindElement(L"website")) s.website_url = doc.GetAttribute(L"url");
    if (doc.FindElement(L"store")) s.store_url = doc.GetAttribute(L"url");
    if (doc.FindElement(L"upgrade")) s.upgrade_url = doc.GetAttribute(L"url");
    if (doc.FindElement(L"copyright")) {
      out.has_copyright = true;
      s.copyright = doc.GetAttribute(L"info");
    }
  }
  return out;
}

bool LoadConfig(const std::wstring& programFolder, ModelList& models, SoftwareIdentity& software,
                DeviceFilterRegistry* filters, DeviceSelector* selector, FrameTexts* texts, InputReaderHost* readers) {
  models.clear();
  ConfigContents c = ReadConfigFile(programFolder + L"config.xml");
  for (const ModelEntry& m : c.models) {
    if (filters) filters->AddDeviceIdFilter(m.vid, m.pid, L"", m.id_pattern);
    if (selector) selector->AddDevice(m.name, m.vid, m.pid, m.type, false);
  }
  models = std::move(c.models);
  if (c.has_software) {
    if (texts) {
      texts->SetCaptionText(c.software.caption);
      texts->SetVersionText(L"Ver: " + c.software.version);
    }
    const bool hadCopyright = c.has_copyright;
    std::wstring keptCopyright = software.copyright;
    software = c.software;
    if (hadCopyright) {
      if (texts) texts->SetCopyrightText(software.copyright);
    } else {
      software.copyright = keptCopyright;
    }
  }
  if (readers) {
    for (const ModelEntry& m : models) readers->StartInputReader(m.vid, m.pid, m.type);
    readers->RegisterDeviceNotifications();
  }
  return c.loaded;
}

const ModelEntry* FindModelByType(const ModelList& models, int type) {
  for (const ModelEntry& m : models) {
    if (m.type == type) return &m;
  }
  return nullptr;
}
