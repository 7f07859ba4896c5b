// Profile exchange files: a key profile's Fn-layer-0 assignments together with
// the macros they use, as an XML file that can be imported on this computer or
// another one. These are the file halves of the profile list's export and
// import buttons; choosing the file, the message boxes, the list entries and
// the key upload belong to the page.
//
// Both run on the calling thread and use the profile database through its own
// lock, one operation at a time.
#pragma once

#include <string>
#include <vector>

class ProfileDatabase;

// Writes the assignments of `profile` on Fn layer 0 and, for every macro-kind
// assignment in turn, that macro with its events, to `path` (UTF-8, CR LF after
// each tag). `profileName` is the name the list shows. The old file is replaced
// only by a complete new one. False when the file could not be written.
bool ExportProfile(ProfileDatabase& db, int profile, const std::wstring& profileName, const std::wstring& path);

// What an import added, for the page to show.
struct ImportedMacro {
  std::wstring name;
  int macro_id = 0;
};
struct ProfileImport {
  // The file was a profile file: the page adds `profile` to the list under
  // `name`, makes it current and active and uploads its keys. `profile` is 0
  // when the database refused the new profile (nothing else was added to it).
  bool profileFound = false;
  int profile = 0;
  std::wstring name;  // the file name without folder, cut before its first '.'
  // Macros created for the file, in file order, to add to the macro list.
  std::vector<ImportedMacro> macros;
};

// Imports the profile file at `path` as a new profile. Macros of the file that
// exist here under the same name and number are reused; the others are created
// anew and the keys pointing at them follow their new numbers. A file that is
// not a profile file, is ill-formed or truncated, larger than the XML reader
// accepts, or not UTF-8 (UTF-16 files with a byte-order mark excepted) imports
// nothing. Returns false only when there is no such file.
bool ImportProfile(ProfileDatabase& db, const std::wstring& path, ProfileImport& result);
