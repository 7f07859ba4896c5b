#include "app/data/ProfileExchange.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "app/data/ProfileDatabase.h"
#include "app/data/XmlDocument.h"
#include "korinui/TextCodec.h"

namespace {

constexpr int kMacroKind = 3;
constexpr const wchar_t* kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::wstring Number(int value) { return std::to_wstring(value); }

// Decimal conversion of an attribute: 0 for a missing or non-numeric value,
// saturated instead of overflowing.
int ToInt(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > 0x80000000LL) value = 0x80000000LL;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  return static_cast<int>(value);
}

int IntAttribute(const XmlDocument& doc, const wchar_t* name) { return ToInt(doc.GetAttribute(name)); }

// The profile's name for an imported file: its file name cut before the first
// '.'. A name without any '.' is taken whole, so the profile is never nameless.
std::wstring ProfileNameFromPath(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name;
}

// Whether the file is text the reader may safely take as a profile file: not
// above the reader's size limit, and UTF-8 unless it carries a UTF-16 mark.
bool IsAcceptableFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > XmlDocument::kMaxFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    return true;
  }
  std::string_view text(bytes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return korinui::IsValidUtf8(text);
}

void WriteKeyItem(XmlDocument& doc, const KeyAssignmentRow& row) {
  doc.AddElement(L"item");
  doc.SetAttribute(L"fn_layer", Number(row.fn_layer));
  doc.SetAttribute(L"key_code", Number(row.key_code));
  doc.SetAttribute(L"layout_value", Number(row.layout_value));
  doc.SetAttribute(L"layout_desc", row.layout_desc);
  doc.SetAttribute(L"macro_type", Number(row.macro_type));
  doc.SetAttribute(L"macro_value", Number(row.macro_value));
  doc.SetAttribute(L"macro_value2", Number(row.macro_value2));
  doc.SetAttribute(L"macro_value3", Number(row.macro_value3));
  doc.SetAttribute(L"macro_desc", row.macro_desc);
}

void WriteMacro(XmlDocument& doc, ProfileDatabase& db, int macroId) {
  MacroRow macro;
  macro.macro_id = macroId;  // a macro gone from the database still names its number
  db.GetMacro(macroId, macro);
  doc.AddElement(L"macroinfo");
  doc.SetAttribute(L"name", macro.name);
  doc.SetAttribute(L"macro_id", Number(macro.macro_id));
  doc.SetAttribute(L"times", Number(macro.play_times));
  doc.SetAttribute(L"type", Number(macro.delay_type));
  doc.SetAttribute(L"delaytime", Number(macro.delay_time));
  doc.EnterElement();
  doc.AddElement(L"macroitems");
  doc.EnterElement();
  std::vector<MacroEventRow> events;
  db.ListMacroEvents(macroId, events);
  for (const MacroEventRow& event : events) {
    doc.AddElement(L"item");
    doc.SetAttribute(L"desc", event.desc);
    doc.SetAttribute(L"type", Number(event.type));
    doc.SetAttribute(L"value", Number(event.value));
    doc.SetAttribute(L"delay_time", Number(event.delay_time));
  }
  doc.LeaveElement();
  doc.LeaveElement();
}

bool IsExistingMacro(const std::vector<MacroRow>& existing, const std::wstring& name, int macroId) {
  for (const MacroRow& macro : existing) {
    if (macro.macro_id == macroId && macro.name == name) return true;
  }
  return false;
}

// First pass: the file's macros, creating those this database lacks.
void ImportMacros(ProfileDatabase& db, const std::wstring& path, std::map<int, int>& renumbered,
                  ProfileImport& result) {
  std::vector<MacroRow> existing;
  db.ListMacros(existing);
  XmlDocument doc;
  if (!doc.Load(path) || !doc.FindElement(L"profile")) return;
  doc.EnterElement();
  while (doc.FindElement(L"macroinfo")) {
    const std::wstring name = doc.GetAttribute(L"name");
    const int fileId = IntAttribute(doc, L"macro_id");
    if (IsExistingMacro(existing, name, fileId)) continue;
    MacroRow macro;
    macro.name = name;
    macro.play_times = IntAttribute(doc, L"times");
    macro.delay_type = IntAttribute(doc, L"type");
    macro.delay_time = IntAttribute(doc, L"delaytime");
    const int newId = db.AddMacroWithSettings(macro);
    renumbered[fileId] = newId;  // a later macro with the same number wins
    if (newId <= 0) continue;    // no macro to hang the events on
    result.macros.push_back({name, newId});
    doc.EnterElement();
    if (doc.FindElement(L"macroitems")) {
      doc.EnterElement();
      std::vector<MacroEventRow> events;
      for (int index = 0; doc.FindElement(L"item"); ++index) {
        events.push_back({0, newId, IntAttribute(doc, L"type"), index, doc.GetAttribute(L"desc"),
                          IntAttribute(doc, L"value"), IntAttribute(doc, L"delay_time")});
      }
      db.AddMacroEvents(events);
      doc.LeaveElement();
    }
    doc.LeaveElement();
  }
}

// Second pass: the new profile and its key assignments.
void ImportKeys(ProfileDatabase& db, const std::wstring& path, const std::map<int, int>& renumbered,
                ProfileImport& result) {
  XmlDocument doc;
  if (!doc.Load(path) || !doc.FindElement(L"profile")) return;
  doc.EnterElement();
  doc.FindElement(L"profileinfo");  // its name attribute is not used
  result.profileFound = true;
  result.name = ProfileNameFromPath(path);
  result.profile = db.AddProfile(result.name, L"");
  if (result.profile <= 0 || !doc.FindElement(L"keyitems")) return;
  doc.EnterElement();
  while (doc.FindElement(L"item")) {
    KeyAssignmentRow row;
    row.profile = result.profile;
    row.fn_layer = IntAttribute(doc, L"fn_layer");
    row.key_code = IntAttribute(doc, L"key_code");
    row.layout_value = IntAttribute(doc, L"layout_value");
    row.layout_desc = doc.GetAttribute(L"layout_desc");
    row.macro_type = IntAttribute(doc, L"macro_type");
    row.macro_value = IntAttribute(doc, L"macro_value");
    row.macro_value2 = IntAttribute(doc, L"macro_value2");
    row.macro_value3 = IntAttribute(doc, L"macro_value3");
    row.macro_desc = doc.GetAttribute(L"macro_desc");
    if (row.macro_type == kMacroKind) {
      const auto it = renumbered.find(row.macro_value);
      if (it != renumbered.end()) row.macro_value = it->second;
    }
    db.SaveKeyAssignment(row);
  }
  doc.LeaveElement();
}

}  // namespace

bool ExportProfile(ProfileDatabase& db, int profile, const std::wstring& profileName, const std::wstring& path) {
  XmlDocument doc;
  doc.SetDocumentText(kDeclaration);  // not yet well-formed: no root so far
  doc.AddElement(L"profile");
  doc.EnterElement();
  doc.AddElement(L"profileinfo");
  doc.SetAttribute(L"name", profileName);
  doc.AddElement(L"keyitems");
  doc.EnterElement();
  std::vector<KeyAssignmentRow> rows;
  db.ListKeyAssignments(profile, 0, rows);
  std::vector<int> macros;  // once per key: a shared macro is written again
  for (const KeyAssignmentRow& row : rows) {
    WriteKeyItem(doc, row);
    if (row.macro_type == kMacroKind) macros.push_back(row.macro_value);
  }
  doc.LeaveElement();
  for (int macroId : macros) WriteMacro(doc, db, macroId);
  doc.LeaveElement();
  return doc.Save(path);
}

bool ImportProfile(ProfileDatabase& db, const std::wstring& path, ProfileImport& result) {
  result = ProfileImport();
  const std::string bytesPath = korinui::WideToUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(bytesPath, error)) return false;
  if (!IsAcceptableFile(bytesPath)) return true;  // there, but not ours to read
  std::map<int, int> renumbered;
  ImportMacros(db, path, renumbered, result);
  ImportKeys(db, path, renumbered, result);
  return true;
}
