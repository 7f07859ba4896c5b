#include "app/data/XmlDocument.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "korinui/TextCodec.h"

namespace {

class XmlTempDir {
 public:
  XmlTempDir() {
    char tmpl[] = "/tmp/xmldoc-test-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  ~XmlTempDir() { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::wstring WPath(const std::string& name) const { return korinui::Utf8ToWide(Path(name)); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

 private:
  std::string dir_;
};

std::string Utf16(const std::wstring& text, bool bigEndian) {
  std::string out;
  for (char16_t u : korinui::WideToUtf16(text)) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    if (bigEndian) { out += hi; out += lo; } else { out += lo; out += hi; }
  }
  return out;
}

const std::wstring kDoc = L"<?xml version=\"1.0\"?>\r\n<r n=\"\u00e9\u4e2d\"><a/></r>\r\n";

TEST(XmlDocumentLoad, MarksAndEncodingsGiveTheSameText) {
  XmlTempDir dir;
  const std::string utf8 = korinui::WideToUtf8(kDoc);
  struct Case { const char* file; std::string bytes; XmlBom bom; };
  const Case cases[] = {
      {"plain.xml", utf8, XmlBom::None},
      {"bom8.xml", "\xEF\xBB\xBF" + utf8, XmlBom::Utf8},
      {"le.xml", "\xFF\xFE" + Utf16(kDoc, false), XmlBom::Utf16Le},
      {"be.xml", "\xFE\xFF" + Utf16(kDoc, true), XmlBom::Utf16Be},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dir.Write(c.file, c.bytes);
    XmlDocument doc;
    EXPECT_TRUE(doc.Load(dir.WPath(c.file)));
    EXPECT_EQ(doc.GetDocumentText(), kDoc);
    EXPECT_EQ(doc.GetBom(), c.bom);
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"\u00e9\u4e2d");
  }
}

TEST(XmlDocumentLoad, DeclaredAndDetectedEncodings) {
  XmlTempDir dir;
  struct Case { const char* file; std::string bytes; std::wstring value; };
  const Case cases[] = {
      // Declared Latin-1 and GBK.
      {"latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"caf\xE9\"/>", L"caf\u00e9"},
      {"gb.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><r v=\"\xD6\xD0\"/>", L"\u4e2d"},
      // HTML meta form.
      {"meta.xml", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"/>"
                   "</head><body v=\"\x80\"></body></html>", L""},
      // Neither mark nor declaration, not starting with '<', not UTF-8: the legacy charset.
      {"ansi.xml", " <r v=\"caf\xE9\"/>", L"caf\u00e9"},
      // NUL bytes are dropped.
      {"nul.xml", std::string("<r v=\"a\0b\"/>", 12), L"ab"},
      // A UTF-16 declaration on 8-bit bytes is wrong and is not followed.
      {"liar.xml", "<?xml version=\"1.0\" encoding=\"utf-16\"?><r v=\"ok\"/>", L"ok"},
  };
  setenv("LC_ALL", "en_US.UTF-8", 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dir.Write(c.file, c.bytes);
    XmlDocument doc;
    EXPECT_TRUE(doc.Load(dir.WPath(c.file))) << korinui::WideToUtf8(doc.GetResult());
    if (std::string(c.file) == "meta.xml") {
      ASSERT_TRUE(doc.FindElement(L"html"));
      ASSERT_TRUE(doc.EnterElement());
      ASSERT_TRUE(doc.FindElement(L"body"));
      EXPECT_EQ(doc.GetAttribute(L"v"), L"\u20ac");
      continue;
    }
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_EQ(doc.GetAttribute(L"v"), c.value);
  }
  unsetenv("LC_ALL");
}

TEST(XmlDocumentLoad, MissingFileGivesAnEmptyDocument) {
  XmlDocument doc;
  EXPECT_FALSE(doc.Load(L"/nonexistent/folder/none.xml"));
  EXPECT_FALSE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");
  EXPECT_NE(doc.GetResult().find(L"file_error"), std::wstring::npos);
}

TEST(XmlDocumentIndex, WellFormedness) {
  struct Case { const wchar_t* text; bool ok; const wchar_t* note; };
  const Case cases[] = {
      {L"<r><a/><b x='>'/></r>", true, nullptr},
      {L"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"x>\">]><!-- <c> --><r><![CDATA[<d>]]>t</r>", true, nullptr},
      {L"<a/><b/>", false, L"root_has_sibling"},
      {L"", false, L"no_root_element"},
      {L"<r><a></r>", false, L"unended_start_tag"},
      {L"<r>", false, L"unended_start_tag"},
      {L"<r></x></r>", false, L"lone_end_tag"},
      {L"<r><a x='1", false, L"unterminated_tag_syntax"},
      {L"<r><!-- open", false, L"comment_tag_syntax"},
      {L"<r><![CDATA[ open", false, L"cdata_section_syntax"},
      {L"<r>a < b</r>", false, L"tag_name_syntax"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(korinui::WideToUtf8(c.text));
    XmlDocument doc;
    EXPECT_EQ(doc.SetDocumentText(c.text), c.ok);
    if (c.note) {
      EXPECT_NE(doc.GetResult().find(c.note), std::wstring::npos) << korinui::WideToUtf8(doc.GetResult());
    }
  }
}

TEST(XmlDocumentIndex, UnendedElementsChildrenBecomeSiblings) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocumentText(L"<r><u><a/><b/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_TRUE(doc.FindElement(L"u"));
  EXPECT_TRUE(doc.FindElement(L"a"));  // a follows u at the same level
  EXPECT_TRUE(doc.FindElement(L"b"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.LeaveElement());
}

TEST(XmlDocumentIndex, HostileInputIsBounded) {
  {
    std::wstring deep;
    for (int i = 0; i < 100000; ++i) deep += L"<a>";
    for (int i = 0; i < 100000; ++i) deep += L"</a>";
    XmlDocument doc;
    EXPECT_FALSE(doc.SetDocumentText(deep));
    EXPECT_NE(doc.GetResult().find(L"depth_limit"), std::wstring::npos);
  }
  {
    std::wstring deep;
    for (std::size_t i = 0; i < XmlDocument::kMaxDepth; ++i) deep += L"<a>";
    for (std::size_t i = 0; i < XmlDocument::kMaxDepth; ++i) deep += L"</a>";
    XmlDocument doc;
    EXPECT_TRUE(doc.SetDocumentText(deep));
  }
  {
    const std::wstring big(4'000'000, L'x');
    XmlDocument doc;
    EXPECT_TRUE(doc.SetDocumentText(L"<r v=\"" + big + L"\"/>"));
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_EQ(doc.GetAttribute(L"v").size(), big.size());
  }
  {
    XmlTempDir dir;
    dir.Write("cut.xml", "<?xml version=\"1.0\"?><r><a x=\"\xE4\xB8");
    XmlDocument doc;
    EXPECT_FALSE(doc.Load(dir.WPath("cut.xml")));
  }
}

TEST(XmlDocumentNavigation, FindWalksForwardOnly) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocumentText(L"<p><a/><b><x/></b><c/></p>"));
  ASSERT_TRUE(doc.FindElement(L"p"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.FindElement(L"x"));  // never descends
  EXPECT_TRUE(doc.FindElement(L"c"));
  EXPECT_FALSE(doc.FindElement(L"b"));  // never restarts
  // Leaving and entering again resumes where the search stood.
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.FindElement(L"c"));
  XmlDocument again;
  ASSERT_TRUE(again.SetDocumentText(L"<p><a/><b><x/></b><c/></p>"));
  again.FindElement(L"p");
  again.EnterElement();
  EXPECT_TRUE(again.FindElement(L"b"));
  EXPECT_TRUE(again.FindElement(L"c"));
  EXPECT_FALSE(again.FindElement(L"C"));  // case-sensitive
  XmlDocument empty;
  EXPECT_FALSE(empty.EnterElement());
  EXPECT_FALSE(empty.LeaveElement());
}

TEST(XmlDocumentAttributes, QuotingAndReferences) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocumentText(
      L"<r><a x='1' y=\"2\" z=3 /><b v=\"a&lt;b&#65;&#x42;&bogus;\" w=\"&#x1F600;&#0;&#x110000;&#xD800;&amp\" "
      L"e=\"&Eacute;&eacute;&APOS;&nbsp;\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");  // the root has none
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.GetAttribute(L"x"), L"");  // no current element
  ASSERT_TRUE(doc.FindElement(L"a"));
  EXPECT_EQ(doc.GetAttribute(L"x"), L"1");
  EXPECT_EQ(doc.GetAttribute(L"y"), L"2");
  EXPECT_EQ(doc.GetAttribute(L"z"), L"3");
  EXPECT_EQ(doc.GetAttribute(L"X"), L"");
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetAttribute(L"v"), L"a<bAB&bogus;");
  EXPECT_EQ(doc.GetAttribute(L"w"), L"\U0001F600&#0;&#x110000;&#xD800;&amp");
  EXPECT_EQ(doc.GetAttribute(L"e"), L"\u00c9\u00e9'\u00a0");
}

TEST(XmlDocumentWriter, BuildsExactBytes) {
  XmlTempDir dir;
  XmlDocument doc;
  doc.SetDocumentText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  ASSERT_TRUE(doc.AddElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"k", L"<&>"));
  ASSERT_TRUE(doc.AddElement(L"b"));
  ASSERT_TRUE(doc.Save(dir.WPath("out.xml")));
  EXPECT_EQ(dir.Read("out.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r>\r\n<a k=\"&lt;&amp;&gt;\"/>\r\n<b/>\r\n</r>\r\n");
}

TEST(XmlDocumentWriter, EditsKeepTheIndexConsistent) {
  XmlDocument doc;
  doc.SetDocumentText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  doc.AddElement(L"root");
  doc.EnterElement();
  doc.AddElement(L"first");
  doc.SetAttribute(L"q", L"'\"x\u4e2d");
  doc.EnterElement();
  doc.AddElement(L"inner");
  doc.SetAttribute(L"n", L"1");
  doc.LeaveElement();
  doc.AddElement(L"second");
  doc.SetAttribute(L"v", L"old");
  doc.SetAttribute(L"v", L"new & longer");
  doc.SetAttribute(L"w", L"");
  // Reading the built text back gives the same tree and values.
  XmlDocument back;
  ASSERT_TRUE(back.SetDocumentText(doc.GetDocumentText())) << korinui::WideToUtf8(doc.GetDocumentText());
  EXPECT_EQ(back.GetDocumentText(),
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n<first q=\"&apos;&quot;x\u4e2d\">\r\n"
            L"<inner n=\"1\"/>\r\n</first>\r\n<second v=\"new &amp; longer\" w=\"\"/>\r\n</root>\r\n");
  ASSERT_TRUE(back.FindElement(L"root"));
  back.EnterElement();
  ASSERT_TRUE(back.FindElement(L"first"));
  EXPECT_EQ(back.GetAttribute(L"q"), L"'\"x\u4e2d");
  ASSERT_TRUE(back.FindElement(L"second"));
  EXPECT_EQ(back.GetAttribute(L"v"), L"new & longer");
  // The writer's own index agrees with a fresh one.
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());  // resumes at "second"
  EXPECT_EQ(doc.GetAttribute(L"v"), L"new & longer");
}

TEST(XmlDocumentWriter, FailedSaveKeepsTheOldFile) {
  XmlTempDir dir;
  dir.Write("keep.xml", "old");
  XmlDocument doc;
  doc.SetDocumentText(L"<r/>");
  EXPECT_FALSE(doc.Save(dir.WPath("missing-folder/x.xml")));
  if (::geteuid() != 0) {
    ::chmod(dir.Path("").c_str(), 0500);
    EXPECT_FALSE(doc.Save(dir.WPath("keep.xml")));
    ::chmod(dir.Path("").c_str(), 0700);
    EXPECT_EQ(dir.Read("keep.xml"), "old");
  }
  EXPECT_TRUE(doc.Save(dir.WPath("keep.xml")));
  EXPECT_EQ(dir.Read("keep.xml"), "<r/>");
}

TEST(XmlDocumentWriter, SavesInTheDeclaredEncodingWithTheLoadedMark) {
  XmlTempDir dir;
  XmlDocument doc;
  doc.SetDocumentText(L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\u00e9\u4e2d\"/>");
  ASSERT_TRUE(doc.Save(dir.WPath("l1.xml")));
  EXPECT_EQ(dir.Read("l1.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r v=\"\xE9?\"/>");
  dir.Write("le.xml", "\xFF\xFE" + Utf16(L"<r/>", false));
  XmlDocument le;
  ASSERT_TRUE(le.Load(dir.WPath("le.xml")));
  ASSERT_TRUE(le.Save(dir.WPath("le2.xml")));  // no declaration: UTF-8, with the UTF-8 mark
  EXPECT_EQ(dir.Read("le2.xml"), "\xEF\xBB\xBF<r/>");
}

}  // namespace
