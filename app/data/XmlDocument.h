// XmlDocument: the one reader and writer of the program's XML files (device
// descriptions, profile exchange files).
//
// Not a node tree: the whole document is kept as one wide string with an
// index of the elements found in it, plus a navigation position of three
// element numbers (parent level, current element, remembered child). Readers
// walk forward with FindElement / EnterElement / LeaveElement and pull
// attribute values; writers append empty elements and set attributes, then
// Save. Element text, CDATA, comments, processing instructions and the
// document type declaration are recognised and skipped, never read.
//
// One document per caller, on the stack, for one file; not thread-safe and
// never shared between threads.
//
// Hostile input is bounded: files above kMaxFileBytes are not read, at most
// kMaxElements elements are indexed, and nesting deeper than kMaxDepth is not
// followed (see SetDocumentText). Any of these makes the document ill-formed,
// so every reader treats it as missing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/data/XmlEncoding.h"

class XmlDocument {
 public:
  static constexpr std::size_t kMaxFileBytes = 32u * 1024 * 1024;
  static constexpr std::size_t kMaxElements = 1u << 20;
  static constexpr std::size_t kMaxDepth = 256;

  XmlDocument();

  // Replaces the text, indexes it and resets the position to document level.
  // True when the text is well-formed: no malformed markup, no end tag
  // without start, every start tag ended, exactly one top-level element, and
  // the limits above kept. An element opened deeper than kMaxDepth is indexed
  // as a start tag without end ("depth_limit"; its later end tag is then a
  // lone one). An ill-formed text stays fully navigable.
  bool SetDocumentText(std::wstring_view text);

  // Reads the file at `path`, decodes it (byte-order mark, declared encoding,
  // UTF-8 detection, NUL removal; see XmlEncoding.h), then as SetDocumentText.
  // True only if the file was read and is well-formed. A file that cannot be
  // read leaves an empty document.
  bool Load(const std::wstring& path);

  // Writes the text, exactly as it stands, in the encoding its declaration
  // names (UTF-8 when none), with the byte-order mark it was loaded with (none
  // for built documents). The file is replaced atomically: on any failure the
  // old file is left as it was and false is returned.
  bool Save(const std::wstring& path);

  // Moves to the next sibling (after the current element, or the first child
  // of the parent level when there is none) whose tag name equals `name`
  // exactly; never restarts and never descends. False and no move if none.
  bool FindElement(std::wstring_view name);
  // The current element becomes the parent level; the remembered child (if
  // any) becomes current. False when there is no current element.
  bool EnterElement();
  // Back out to the parent level's element. False at document level.
  bool LeaveElement();

  // Value of the first attribute `name` (case-sensitive) of the current
  // element, with character references decoded; empty when there is no
  // current element or no such attribute.
  std::wstring GetAttribute(std::wstring_view name) const;

  // Inserts `<name/>` + CR LF after the current element (or after the parent
  // level's last child, or as its first child) and makes it current.
  bool AddElement(std::wstring_view name);
  // Sets attribute `name` of the current element to `value`, escaping
  // < & > ' " (replacing an existing value or appending the attribute).
  // False when there is no current element.
  bool SetAttribute(std::wstring_view name, std::wstring_view value);

  const std::wstring& GetDocumentText() const { return text_; }
  // Diagnostic notes of the last Load / indexing / Save, one per line.
  const std::wstring& GetResult() const { return result_; }
  XmlBom GetBom() const { return bom_; }
  bool IsWellFormed() const { return wellFormed_; }

 private:
  enum Flags : unsigned { kEmptyTag = 1, kNoEndTag = 2 };
  struct Element {
    std::size_t start = 0;      // offset of '<' in the text
    std::size_t length = 0;     // whole element, end tag included
    std::size_t startTagLen = 0;
    std::size_t endTagLen = 0;  // 0 for <a/> and for elements without end tag
    unsigned flags = 0;
    int parent = 0;
    int firstChild = 0;
    int lastChild = 0;
    int next = 0;
    int prev = 0;
  };

  bool Index();
  void Note(std::wstring_view line);
  void NoteIllFormed(std::wstring_view line);
  void CloseWithoutEnd(int pos);
  void AppendChild(int parent, int child);
  std::wstring_view TagName(int pos) const;
  std::wstring_view NameAt(std::size_t at) const;
  // Inserts `s` at `at`, shifting every element that starts at or after it and
  // growing every element that encloses it.
  void InsertText(std::size_t at, std::wstring_view s);
  // Replaces [at, at + len) inside the start tag of `owner` with `s`.
  void ReplaceInStartTag(int owner, std::size_t at, std::size_t len, std::wstring_view s);

  struct AttributeSpan;
  AttributeSpan FindAttribute(int pos, std::wstring_view name) const;

  std::wstring text_;
  std::vector<Element> elements_;  // [0] is the document itself
  int parent_ = 0;
  int current_ = 0;
  int child_ = 0;
  XmlBom bom_ = XmlBom::None;
  bool wellFormed_ = false;
  std::wstring result_;
};
