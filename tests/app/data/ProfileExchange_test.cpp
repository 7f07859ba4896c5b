#include "app/data/ProfileExchange.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DataTestSupport.h"
#include "app/data/ProfileDatabase.h"
#include "korinui/TextCodec.h"

namespace {

const std::wstring kModel = L"ORVA 100_V4";
const std::wstring kSpecial = L"<&>'\"";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A profile database of its own in a scratch folder.
class ExchangeDb {
 public:
  ExchangeDb() {
    folder_.MakeDbFolder();
    ok_ = db_.OpenDatabase(folder_.WidePath(), kModel);
  }
  bool ok() const { return ok_; }
  ProfileDatabase& db() { return db_; }
  std::wstring File(const std::string& name) const { return korinui::Utf8ToWide(folder_.Path() + name); }
  // Imports a file holding `bytes`.
  bool ImportBytes(const std::string& bytes, ProfileImport& result) {
    const std::wstring path = File("import.xml");
    WriteBytes(korinui::WideToUtf8(path), bytes);
    return ImportProfile(db_, path, result);
  }
  int Macros() {
    std::vector<MacroRow> rows;
    return db_.ListMacros(rows);
  }
  int Profiles() {
    std::vector<ProfileRow> rows;
    return db_.ListProfiles(rows);
  }

 private:
  DataTestFolder folder_;
  ProfileDatabase db_;
  bool ok_ = false;
};

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.ok());
    profile_ = home_.db().AddProfile(L"Home", L"");
    ASSERT_GT(profile_, 0);
  }
  // A macro with two events, assigned to `keys`.
  int AddAssignedMacro(const std::wstring& name, std::initializer_list<int> keys) {
    MacroRow macro{0, 2, 3, 15, 0, name};
    const int id = home_.db().AddMacroWithSettings(macro);
    home_.db().AddMacroEvents({{0, id, 2, 0, name + L" down", 65, 10}, {0, id, 3, 1, name + L" up", 65, 0}});
    for (int key : keys) home_.db().SaveKeyAssignment(Key(profile_, key, 3, id, name));
    return id;
  }
  std::wstring Export(const char* fileName) {
    const std::wstring path = home_.File(fileName);
    EXPECT_TRUE(ExportProfile(home_.db(), profile_, L"Home", path));
    return path;
  }

  ExchangeDb home_;
  int profile_ = 0;
};

}  // namespace

TEST_F(ExchangeTest, ExportWritesTheExactBytes) {
  ExchangeDb db;
  ASSERT_TRUE(db.ok());
  const int profile = db.db().AddProfile(L"unused", L"");
  ASSERT_EQ(db.db().AddMacroWithSettings({0, 2, 3, 15, 0, L"Run \"fast\""}), 1);
  db.db().AddMacroEvents({{0, 1, 2, 0, L"<", 65, 10}, {0, 1, 3, 1, L">", 65, 0}});
  db.db().SaveKeyAssignment(Key(profile, 4, 2, 5, L"A&B"));
  KeyAssignmentRow second = Key(profile, 5, 3, 1, L"Macro 'x'");
  second.layout_value = 7;
  second.layout_desc = L"five";
  second.macro_value3 = -2;
  db.db().SaveKeyAssignment(second);
  KeyAssignmentRow otherLayer = Key(profile, 6, 2, 5, L"layer 1");
  otherLayer.fn_layer = 1;  // only layer 0 is exported
  db.db().SaveKeyAssignment(otherLayer);

  const std::wstring path = db.File("golden.xml");
  ASSERT_TRUE(ExportProfile(db.db(), profile, L"Game <1> \u00fc", path));
  EXPECT_EQ(ReadBytes(korinui::WideToUtf8(path)),
            ReadBytes(std::string(KEYSTREL_TEST_FIXTURES) + "/data/exchange/golden_profile.xml"));
}

TEST_F(ExchangeTest, EmptyProfileExportsAnEmptyKeyList) {
  const std::wstring path = Export("empty.xml");
  EXPECT_EQ(ReadBytes(korinui::WideToUtf8(path)),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"Home\"/>\r\n"
            "<keyitems/>\r\n</profile>\r\n");
}

TEST_F(ExchangeTest, FailedSaveIsReported) {
  EXPECT_FALSE(ExportProfile(home_.db(), profile_, L"Home", home_.File("missing-folder/p.xml")));
}

TEST_F(ExchangeTest, RoundTripKeepsSpecialCharactersInEveryText) {
  const std::wstring text = L"t" + kSpecial + L"\u4e2d";
  const int macro = AddAssignedMacro(L"m" + kSpecial, {});
  KeyAssignmentRow row = Key(profile_, 0x2C, 3, macro, text);
  row.layout_value = 12;
  row.layout_desc = L"l" + kSpecial;
  row.macro_value2 = 4;
  row.macro_value3 = 6;
  home_.db().SaveKeyAssignment(row);
  home_.db().SaveKeyAssignment(Key(profile_, 0x04, 9, 3, L"https://a.invalid/?x=1&y=<2>"));
  const std::wstring path = home_.File("Round.xml");
  ASSERT_TRUE(ExportProfile(home_.db(), profile_, L"n" + kSpecial, path));

  ExchangeDb away;
  ASSERT_TRUE(away.ok());
  ProfileImport result;
  ASSERT_TRUE(ImportProfile(away.db(), path, result));
  ASSERT_TRUE(result.profileFound);
  EXPECT_EQ(result.name, L"Round");
  ASSERT_EQ(result.macros.size(), 1u);
  EXPECT_EQ(result.macros[0].name, L"m" + kSpecial);

  std::vector<KeyAssignmentRow> keys;
  ASSERT_EQ(away.db().ListKeyAssignments(result.profile, 0, keys), 2);
  const KeyAssignmentRow& got = keys[0].key_code == 0x2C ? keys[0] : keys[1];
  EXPECT_EQ(got.layout_value, 12);
  EXPECT_EQ(got.layout_desc, L"l" + kSpecial);
  EXPECT_EQ(got.macro_type, 3);
  EXPECT_EQ(got.macro_value, result.macros[0].macro_id);
  EXPECT_EQ(got.macro_value2, 4);
  EXPECT_EQ(got.macro_value3, 6);
  EXPECT_EQ(got.macro_desc, text);
  const KeyAssignmentRow& web = keys[0].key_code == 0x04 ? keys[0] : keys[1];
  EXPECT_EQ(web.macro_desc, L"https://a.invalid/?x=1&y=<2>");

  MacroRow imported;
  ASSERT_TRUE(away.db().GetMacro(result.macros[0].macro_id, imported));
  EXPECT_EQ((std::vector<int>{imported.play_times, imported.delay_type, imported.delay_time, imported.link_count}),
            (std::vector<int>{2, 3, 15, 0}));
  std::vector<MacroEventRow> events;
  ASSERT_EQ(away.db().ListMacroEvents(imported.macro_id, events), 2);
  EXPECT_EQ(events[0].desc, L"m" + kSpecial + L" down");
  EXPECT_EQ((std::vector<int>{events[0].type, events[0].record_index, events[0].value, events[0].delay_time}),
            (std::vector<int>{2, 0, 65, 10}));
  EXPECT_EQ(events[1].record_index, 1);
  EXPECT_EQ(events[1].type, 3);
}

TEST_F(ExchangeTest, ImportOnTheExportingComputerReusesItsMacros) {
  const int macro = AddAssignedMacro(L"Combo", {0x04});
  const std::wstring path = Export("Home.xml");
  ProfileImport result;
  ASSERT_TRUE(ImportProfile(home_.db(), path, result));
  EXPECT_TRUE(result.macros.empty());
  EXPECT_EQ(home_.Macros(), 1);
  KeyAssignmentRow key;
  ASSERT_TRUE(home_.db().GetKeyAssignment(result.profile, 0, 0x04, key));
  EXPECT_EQ(key.macro_value, macro);
}

TEST_F(ExchangeTest, MacroRenamedSinceTheExportIsCreatedAgain) {
  const int macro = AddAssignedMacro(L"Combo", {0x04});
  const std::wstring path = Export("Home.xml");
  home_.db().RenameMacro(macro, L"combo");  // the match is case-sensitive
  ProfileImport result;
  ASSERT_TRUE(ImportProfile(home_.db(), path, result));
  ASSERT_EQ(result.macros.size(), 1u);
  EXPECT_NE(result.macros[0].macro_id, macro);
  KeyAssignmentRow key;
  ASSERT_TRUE(home_.db().GetKeyAssignment(result.profile, 0, 0x04, key));
  EXPECT_EQ(key.macro_value, result.macros[0].macro_id);
}

TEST_F(ExchangeTest, SharedMacroIsWrittenTwiceAndBothKeysFollowTheSecondCopy) {
  AddAssignedMacro(L"Shared", {0x04, 0x05});
  const std::wstring path = Export("Shared.xml");
  const std::string bytes = ReadBytes(korinui::WideToUtf8(path));
  EXPECT_NE(bytes.find("<macroinfo"), bytes.rfind("<macroinfo"));

  ExchangeDb away;
  ASSERT_TRUE(away.ok());
  away.db().AddMacro(L"Already here");  // file numbers no longer match here
  ProfileImport result;
  ASSERT_TRUE(ImportProfile(away.db(), path, result));
  ASSERT_EQ(result.macros.size(), 2u);
  EXPECT_EQ(away.Macros(), 3);
  for (int keyCode : {0x04, 0x05}) {
    KeyAssignmentRow key;
    ASSERT_TRUE(away.db().GetKeyAssignment(result.profile, 0, keyCode, key));
    EXPECT_EQ(key.macro_value, result.macros[1].macro_id) << keyCode;
  }
}

TEST_F(ExchangeTest, ProfileNameComesFromTheFileName) {
  const std::wstring path = Export("Home.xml");
  const std::string source = ReadBytes(korinui::WideToUtf8(path));
  struct Case {
    const char* file;
    std::wstring name;
  };
  const Case cases[] = {
      {"Work.old.xml", L"Work"},
      {"Work", L"Work"},  // no dot: the whole name, never an empty one
      {"Spiel \xC3\xBC.xml", L"Spiel \u00fc"},
  };
  for (const Case& c : cases) {
    WriteBytes(korinui::WideToUtf8(home_.File(c.file)), source);
    ProfileImport result;
    ASSERT_TRUE(ImportProfile(home_.db(), home_.File(c.file), result)) << c.file;
    EXPECT_EQ(result.name, c.name) << c.file;
    std::wstring stored;
    ASSERT_TRUE(home_.db().GetProfileName(result.profile, stored));
    EXPECT_EQ(stored, c.name);
  }
}

TEST_F(ExchangeTest, MissingElementsImportWhatIsThere) {
  struct Case {
    const char* name;
    std::string text;
    int keys;
    int events;  // of the one imported macro, -1 for no macro
  };
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"x\"/>\r\n";
  const std::string macroStart = "<macroinfo name=\"M\" macro_id=\"7\" times=\"1\" type=\"1\" delaytime=\"0\"";
  const Case cases[] = {
      {"no keyitems", head + macroStart + "/>\r\n</profile>\r\n", 0, 0},
      {"no macroitems", head + "<keyitems>\r\n<item key_code=\"4\" macro_type=\"3\" macro_value=\"7\"/>\r\n</keyitems>\r\n" +
                            macroStart + "/>\r\n</profile>\r\n",
       1, 0},
      {"keyitems before profileinfo are still found",
       "<profile>\r\n<keyitems>\r\n<item key_code=\"4\" macro_type=\"2\" macro_value=\"9\"/>\r\n</keyitems>\r\n</profile>", 1,
       -1},
      {"attributes missing read as 0", head + "<keyitems>\r\n<item key_code=\"4\"/>\r\n<item macro_value=\"5\"/>\r\n</keyitems>\r\n</profile>", 0, -1},
  };
  for (const Case& c : cases) {
    ExchangeDb db;
    ASSERT_TRUE(db.ok());
    ProfileImport result;
    ASSERT_TRUE(db.ImportBytes(c.text, result)) << c.name;
    EXPECT_TRUE(result.profileFound) << c.name;
    EXPECT_GT(result.profile, 0) << c.name;
    std::vector<KeyAssignmentRow> keys;
    EXPECT_EQ(db.db().ListKeyAssignments(result.profile, 0, keys), c.keys) << c.name;
    if (c.events < 0) {
      EXPECT_TRUE(result.macros.empty()) << c.name;
    } else {
      ASSERT_EQ(result.macros.size(), 1u) << c.name;
      std::vector<MacroEventRow> events;
      EXPECT_EQ(db.db().ListMacroEvents(result.macros[0].macro_id, events), c.events) << c.name;
      if (c.keys > 0) {
        EXPECT_EQ(keys[0].macro_value, result.macros[0].macro_id) << c.name;
      }
    }
  }
}

TEST_F(ExchangeTest, FilesThatAreNotProfilesImportNothing) {
  const std::string good = ReadBytes(korinui::WideToUtf8(Export("good.xml")));
  AddAssignedMacro(L"M", {4});
  const std::string withMacro = ReadBytes(korinui::WideToUtf8(Export("macro.xml")));
  std::string deep = "<profile>";
  for (int i = 0; i < 100000; ++i) deep += "<macroinfo name=\"d\">";
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"other root", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo name=\"x\"/>\r\n</macro>\r\n"},
      {"not XML", "profile macroinfo keyitems"},
      {"truncated", withMacro.substr(0, withMacro.size() / 2)},
      {"two roots", good + good},
      {"invalid UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"\xC0\xAF\xFF\"/>\r\n"
                        "<keyitems/>\r\n</profile>\r\n"},
      {"deeply nested", deep},
  };
  for (const Case& c : cases) {
    ExchangeDb db;
    ASSERT_TRUE(db.ok());
    ProfileImport result;
    EXPECT_TRUE(db.ImportBytes(c.bytes, result)) << c.name;
    EXPECT_FALSE(result.profileFound) << c.name;
    EXPECT_EQ(db.Profiles(), 0) << c.name;
    EXPECT_EQ(db.Macros(), 0) << c.name;
  }
}

TEST_F(ExchangeTest, HugeFileIsNotRead) {
  const std::string path = korinui::WideToUtf8(home_.File("huge.xml"));
  WriteBytes(path, "<profile>");
  std::filesystem::resize_file(path, 64u * 1024 * 1024);  // sparse: cheap to make
  ProfileImport result;
  EXPECT_TRUE(ImportProfile(home_.db(), home_.File("huge.xml"), result));
  EXPECT_FALSE(result.profileFound);
  EXPECT_EQ(home_.Profiles(), 1);
}

TEST_F(ExchangeTest, MissingFileIsReported) {
  ProfileImport result;
  EXPECT_FALSE(ImportProfile(home_.db(), home_.File("nothing.xml"), result));
  EXPECT_FALSE(ImportProfile(home_.db(), home_.File(""), result));  // the folder itself
  EXPECT_FALSE(result.profileFound);
}
