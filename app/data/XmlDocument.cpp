#include "app/data/XmlDocument.h"

#include <optional>
#include <string>

#include "app/data/XmlEntities.h"
#include "korinui/TextCodec.h"
#include "platform/AtomicFile.h"

namespace {

constexpr std::size_t npos = std::wstring::npos;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Tag and attribute names end at white space or at any of these.
bool EndsName(wchar_t c) {
  switch (c) {
    case L'<': case L'>': case L'=': case L'\\': case L'/': case L'?':
    case L'!': case L'"': case L'\'': case L';':
      return true;
    default:
      return IsBlank(c);
  }
}

bool At(std::wstring_view text, std::size_t i, std::wstring_view s) { return text.substr(i, s.size()) == s; }

// End of a tag opened at `lt`: the index of its '>', skipping quoted values.
std::size_t TagEnd(std::wstring_view text, std::size_t lt) {
  for (std::size_t p = lt + 1; p < text.size(); ++p) {
    const wchar_t c = text[p];
    if (c == L'>') return p;
    if (c == L'"' || c == L'\'') {
      p = text.find(c, p + 1);
      if (p == npos) return npos;
    }
  }
  return npos;
}

// End of "<!DOCTYPE ...>" with an optional [internal subset].
std::size_t DoctypeEnd(std::wstring_view text, std::size_t lt) {
  int depth = 0;
  for (std::size_t p = lt + 2; p < text.size(); ++p) {
    const wchar_t c = text[p];
    if (c == L'"' || c == L'\'') {
      p = text.find(c, p + 1);
      if (p == npos) return npos;
    } else if (c == L'[') {
      ++depth;
    } else if (c == L']') {
      if (depth > 0) --depth;
    } else if (c == L'>' && depth == 0) {
      return p;
    }
  }
  return npos;
}

}  // namespace

struct XmlDocument::AttributeSpan {
  bool found = false;
  std::size_t valueStart = 0;  // decoded from [valueStart, valueEnd)
  std::size_t valueEnd = 0;
  std::size_t tokenStart = 0;  // what SetAttribute replaces: the value with its quotes
  std::size_t tokenEnd = 0;
  std::size_t insertAt = 0;    // after the last name or attribute of the tag
};

XmlDocument::XmlDocument() : elements_(1) {}

void XmlDocument::Note(std::wstring_view line) {
  result_.append(line);
  result_.push_back(L'\n');
}

void XmlDocument::NoteIllFormed(std::wstring_view line) {
  wellFormed_ = false;
  Note(line);
}

std::wstring_view XmlDocument::NameAt(std::size_t at) const {
  std::size_t e = at;
  while (e < text_.size() && !EndsName(text_[e])) ++e;
  return std::wstring_view(text_).substr(at, e - at);
}

std::wstring_view XmlDocument::TagName(int pos) const { return NameAt(elements_[pos].start + 1); }

void XmlDocument::AppendChild(int parent, int child) {
  Element& p = elements_[parent];
  Element& c = elements_[child];
  c.parent = parent;
  c.prev = p.lastChild;
  c.next = 0;
  if (p.lastChild != 0) {
    elements_[p.lastChild].next = child;
  } else {
    p.firstChild = child;
  }
  p.lastChild = child;
}

// An element whose end tag never came is only its start tag; what was opened
// inside it follows it as siblings.
void XmlDocument::CloseWithoutEnd(int pos) {
  Element& e = elements_[pos];
  e.flags |= kNoEndTag;
  e.length = e.startTagLen;
  e.endTagLen = 0;
  if (e.firstChild == 0) return;
  const int first = e.firstChild;
  const int last = e.lastChild;
  for (int c = first; c != 0; c = elements_[c].next) elements_[c].parent = e.parent;
  // `pos` is the last child of its parent while it is open.
  e.next = first;
  elements_[first].prev = pos;
  elements_[e.parent].lastChild = last;
  e.firstChild = e.lastChild = 0;
}

bool XmlDocument::Index() {
  elements_.assign(1, Element{});
  elements_[0].length = text_.size();
  parent_ = current_ = child_ = 0;
  wellFormed_ = true;
  const std::wstring_view text(text_);
  std::vector<int> open;
  std::size_t i = 0;
  bool unended = false;
  bool loneEnd = false;
  bool depthLimit = false;
  while (i < text.size()) {
    const std::size_t lt = text.find(L'<', i);
    if (lt == npos) break;
    if (At(text, lt, L"<!--")) {
      const std::size_t e = text.find(L"-->", lt + 4);
      if (e == npos) {
        NoteIllFormed(L"comment_tag_syntax");
        break;
      }
      i = e + 3;
    } else if (At(text, lt, L"<![CDATA[")) {
      const std::size_t e = text.find(L"]]>", lt + 9);
      if (e == npos) {
        NoteIllFormed(L"cdata_section_syntax");
        break;
      }
      i = e + 3;
    } else if (At(text, lt, L"<!")) {
      const bool named = lt + 2 < text.size() && !EndsName(text[lt + 2]);
      if (!named) {
        NoteIllFormed(L"doctype_tag_syntax");
        i = lt + 2;
        continue;
      }
      const std::size_t e = DoctypeEnd(text, lt);
      if (e == npos) {
        NoteIllFormed(L"doctype_tag_syntax");
        break;
      }
      i = e + 1;
    } else if (At(text, lt, L"<?")) {
      const std::size_t e = text.find(L"?>", lt + 2);
      if (e == npos) {
        NoteIllFormed(L"pi_tag_syntax");
        break;
      }
      i = e + 2;
    } else if (At(text, lt, L"</")) {
      const std::size_t e = text.find(L'>', lt + 2);
      if (e == npos) {
        NoteIllFormed(L"unterminated_tag_syntax");
        break;
      }
      i = e + 1;
      const std::wstring_view name = NameAt(lt + 2);
      if (name.empty()) {
        NoteIllFormed(L"end_tag_syntax");
        continue;
      }
      std::size_t k = open.size();
      while (k > 0 && TagName(open[k - 1]) != name) --k;
      if (k == 0) {
        loneEnd = true;
        continue;
      }
      while (open.size() > k) {
        CloseWithoutEnd(open.back());
        open.pop_back();
        unended = true;
      }
      Element& el = elements_[open.back()];
      el.length = e + 1 - el.start;
      el.endTagLen = e + 1 - lt;
      open.pop_back();
    } else {
      if (NameAt(lt + 1).empty()) {
        // A '<' that opens no name ("a < b" in text).
        NoteIllFormed(L"tag_name_syntax");
        i = lt + 1;
        continue;
      }
      const std::size_t e = TagEnd(text, lt);
      if (e == npos) {
        NoteIllFormed(L"unterminated_tag_syntax");
        break;
      }
      if (elements_.size() > kMaxElements) {
        NoteIllFormed(L"element_limit");
        break;
      }
      i = e + 1;
      const int pos = static_cast<int>(elements_.size());
      elements_.emplace_back();
      Element& el = elements_.back();
      el.start = lt;
      el.startTagLen = e + 1 - lt;
      el.length = el.startTagLen;
      AppendChild(open.empty() ? 0 : open.back(), pos);
      if (text[e - 1] == L'/') {
        elements_[pos].flags |= kEmptyTag;
      } else if (open.size() >= kMaxDepth) {
        elements_[pos].flags |= kNoEndTag;
        depthLimit = true;
      } else {
        open.push_back(pos);
      }
    }
  }
  while (!open.empty()) {
    CloseWithoutEnd(open.back());
    open.pop_back();
    unended = true;
  }
  if (depthLimit) NoteIllFormed(L"depth_limit");
  if (unended) NoteIllFormed(L"unended_start_tag");
  if (loneEnd) NoteIllFormed(L"lone_end_tag");
  const Element& doc = elements_[0];
  if (doc.firstChild == 0) {
    NoteIllFormed(L"no_root_element");
  } else if (doc.firstChild != doc.lastChild) {
    NoteIllFormed(L"root_has_sibling");
  }
  return wellFormed_;
}

bool XmlDocument::SetDocumentText(std::wstring_view text) {
  text_.assign(text);
  result_.clear();
  bom_ = XmlBom::None;
  return Index();
}

bool XmlDocument::Load(const std::wstring& path) {
  result_.clear();
  text_.clear();
  bom_ = XmlBom::None;
  const std::optional<std::string> read = platform::ReadWholeFile(korinui::WideToUtf8(path), kMaxFileBytes);
  if (!read) {
    Index();
    result_.clear();
    Note(L"file_error");
    wellFormed_ = false;
    return false;
  }
  Note(L"read " + std::to_wstring(read->size()));
  std::wstring notes;
  text_ = DecodeXmlBytes(*read, bom_, notes);
  result_ += notes;
  return Index();
}

bool XmlDocument::Save(const std::wstring& path) {
  std::wstring notes;
  const std::string bytes = EncodeXmlText(text_, bom_, notes);
  result_ += notes;
  if (!platform::ReplaceFileAtomically(korinui::WideToUtf8(path), bytes, 0666)) {
    Note(L"file_error");
    return false;
  }
  Note(L"write " + std::to_wstring(bytes.size()));
  return true;
}

bool XmlDocument::FindElement(std::wstring_view name) {
  int pos = current_ != 0 ? elements_[current_].next : elements_[parent_].firstChild;
  for (; pos != 0; pos = elements_[pos].next) {
    if (TagName(pos) == name) {
      current_ = pos;
      child_ = 0;
      return true;
    }
  }
  return false;
}

bool XmlDocument::EnterElement() {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = elements_[parent_].parent;
  return true;
}

XmlDocument::AttributeSpan XmlDocument::FindAttribute(int pos, std::wstring_view name) const {
  AttributeSpan span;
  const Element& el = elements_[pos];
  const std::wstring_view text(text_);
  // Attributes lie between the tag name and the closing '>'.
  const std::size_t limit = el.start + el.startTagLen - 1;
  std::size_t p = el.start + 1 + TagName(pos).size();
  span.insertAt = p;
  while (p < limit) {
    while (p < limit && IsBlank(text[p])) ++p;
    if (p >= limit || text[p] == L'/' || text[p] == L'>' || text[p] == L'?') break;
    const std::size_t nameStart = p;
    while (p < limit && !EndsName(text[p])) ++p;
    if (p == nameStart) {  // a stray character
      ++p;
      continue;
    }
    const std::wstring_view attr = text.substr(nameStart, p - nameStart);
    AttributeSpan here;
    here.tokenStart = here.tokenEnd = here.valueStart = here.valueEnd = p;  // no value: insert after name
    std::size_t q = p;
    while (q < limit && IsBlank(text[q])) ++q;
    if (q < limit && text[q] == L'=') {
      ++q;
      while (q < limit && IsBlank(text[q])) ++q;
      if (q < limit && (text[q] == L'"' || text[q] == L'\'')) {
        std::size_t close = text.find(text[q], q + 1);
        if (close == npos || close > limit) close = limit;
        here.tokenStart = q;
        here.valueStart = q + 1;
        here.valueEnd = close;
        here.tokenEnd = close < limit ? close + 1 : limit;
      } else {
        std::size_t e = q;
        while (e < limit && !IsBlank(text[e]) && text[e] != L'>') ++e;
        here.tokenStart = here.valueStart = q;
        here.tokenEnd = here.valueEnd = e;
      }
      p = here.tokenEnd;
    }
    span.insertAt = p;
    if (attr == name) {
      here.found = true;
      here.insertAt = span.insertAt;
      return here;
    }
  }
  return span;
}

std::wstring XmlDocument::GetAttribute(std::wstring_view name) const {
  if (current_ == 0) return {};
  const AttributeSpan span = FindAttribute(current_, name);
  if (!span.found) return {};
  return DecodeCharacterReferences(std::wstring_view(text_).substr(span.valueStart, span.valueEnd - span.valueStart));
}

void XmlDocument::InsertText(std::size_t at, std::wstring_view s) {
  text_.insert(at, s);
  const std::size_t delta = s.size();
  for (std::size_t k = 1; k < elements_.size(); ++k) {
    Element& el = elements_[k];
    if (el.start >= at) {
      el.start += delta;
    } else if (at < el.start + el.length) {
      el.length += delta;
    }
  }
  elements_[0].length = text_.size();
}

void XmlDocument::ReplaceInStartTag(int owner, std::size_t at, std::size_t len, std::wstring_view s) {
  text_.replace(at, len, s);
  const std::ptrdiff_t delta = static_cast<std::ptrdiff_t>(s.size()) - static_cast<std::ptrdiff_t>(len);
  for (std::size_t k = 1; k < elements_.size(); ++k) {
    Element& el = elements_[k];
    if (el.start > at) {
      el.start = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(el.start) + delta);
    } else if (at < el.start + el.length) {
      el.length = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(el.length) + delta);
    }
  }
  Element& o = elements_[owner];
  o.startTagLen = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(o.startTagLen) + delta);
  elements_[0].length = text_.size();
}

bool XmlDocument::AddElement(std::wstring_view name) {
  const std::wstring tag = L"<" + std::wstring(name) + L"/>";
  const int pos = static_cast<int>(elements_.size());
  Element fresh;
  fresh.flags = kEmptyTag;
  fresh.startTagLen = fresh.length = tag.size();

  // Where the new element goes, and the sibling it follows (0: first child).
  int after = current_ != 0 ? current_ : elements_[parent_].lastChild;
  std::size_t at = 0;
  if (parent_ == 0 && current_ == 0) {
    at = text_.size();
    InsertText(at, tag + L"\r\n");
  } else if (after != 0) {
    const Element& a = elements_[after];
    at = a.start + a.length;
    std::size_t j = at;
    while (j < text_.size() && IsBlank(text_[j])) ++j;
    if (j == text_.size() || text_[j] == L'<') at = j;
    InsertText(at, tag + L"\r\n");
  } else {
    Element& p = elements_[parent_];
    const std::wstring parentName(TagName(parent_));
    if (p.flags & kEmptyTag) {
      // <p .../> becomes <p ...> CR LF <name/> CR LF </p>
      const std::size_t slash = p.start + p.startTagLen - 2;
      const std::wstring repl = L">\r\n" + tag + L"\r\n</" + parentName;
      ReplaceInStartTag(parent_, slash, 1, repl);
      Element& pp = elements_[parent_];
      pp.startTagLen = slash + 1 - pp.start;
      pp.endTagLen = parentName.size() + 3;
      pp.flags &= ~static_cast<unsigned>(kEmptyTag);
      at = slash + 3;
    } else {
      // A start tag with an end tag but no child elements yet.
      at = p.start + p.startTagLen;
      std::size_t j = at;
      while (j < text_.size() && IsBlank(text_[j])) ++j;
      std::wstring ins = tag + L"\r\n";
      if (j < text_.size() && text_[j] == L'<') {
        at = j;
        if (at == 0 || text_[at - 1] != L'\n') ins = L"\r\n" + ins;
      } else {
        ins = L"\r\n" + ins;
      }
      const bool grows = (p.flags & kNoEndTag) != 0;
      InsertText(at, ins);
      if (grows) elements_[parent_].length += ins.size();
      if (ins[0] == L'\r') at += 2;
    }
  }
  fresh.start = at;
  fresh.parent = parent_;
  elements_.push_back(fresh);
  Element& n = elements_[pos];
  Element& p = elements_[parent_];
  n.prev = after;
  n.next = after != 0 ? elements_[after].next : p.firstChild;
  if (after != 0) {
    elements_[after].next = pos;
  } else {
    p.firstChild = pos;
  }
  if (n.next != 0) {
    elements_[n.next].prev = pos;
  } else {
    p.lastChild = pos;
  }
  current_ = pos;
  child_ = 0;
  return true;
}

bool XmlDocument::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (current_ == 0) return false;
  const std::wstring quoted = L"\"" + EscapeAttributeValue(value) + L"\"";
  const AttributeSpan span = FindAttribute(current_, name);
  if (span.found) {
    if (span.tokenStart == span.tokenEnd) {
      ReplaceInStartTag(current_, span.tokenStart, 0, L"=" + quoted);
    } else {
      ReplaceInStartTag(current_, span.tokenStart, span.tokenEnd - span.tokenStart, quoted);
    }
  } else {
    ReplaceInStartTag(current_, span.insertAt, 0, L" " + std::wstring(name) + L"=" + quoted);
  }
  return true;
}
