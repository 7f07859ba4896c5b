#include "LayoutReader.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace skingen {
namespace {

using Attributes = std::map<std::string, std::string>;

void AppendUtf8(std::string& out, unsigned long cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string DecodeEntities(const std::string& raw) {
  static const std::map<std::string, const char*> named = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const std::size_t semi = raw[i] == '&' ? raw.find(';', i) : std::string::npos;
    if (semi == std::string::npos || semi - i > 12) {
      out += raw[i];
      continue;
    }
    const std::string ref = raw.substr(i + 1, semi - i - 1);
    if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x' || ref[1] == 'X';
      const std::string digits = ref.substr(hex ? 2 : 1);
      char* end = nullptr;
      const unsigned long cp = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (!digits.empty() && end != nullptr && *end == '\0') {
        AppendUtf8(out, cp);
        i = semi;
        continue;
      }
    } else if (auto it = named.find(ref); it != named.end()) {
      out += it->second;
      i = semi;
      continue;
    }
    out += raw[i];  // not a reference we know: keep the text as it stands
  }
  return out;
}

// Parses the inside of a start tag after its name.
Attributes ParseAttributes(const std::string& tag, std::size_t pos) {
  Attributes attrs;
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (pos < tag.size()) {
    while (pos < tag.size() && (isSpace(tag[pos]) || tag[pos] == '/')) ++pos;
    const std::size_t nameStart = pos;
    while (pos < tag.size() && !isSpace(tag[pos]) && tag[pos] != '=' && tag[pos] != '/') ++pos;
    const std::string name = tag.substr(nameStart, pos - nameStart);
    while (pos < tag.size() && isSpace(tag[pos])) ++pos;
    if (name.empty() || pos >= tag.size() || tag[pos] != '=') {
      if (name.empty()) ++pos;
      continue;
    }
    ++pos;
    while (pos < tag.size() && isSpace(tag[pos])) ++pos;
    if (pos >= tag.size()) break;
    const char quote = tag[pos];
    if (quote != '"' && quote != '\'') continue;
    const std::size_t close = tag.find(quote, pos + 1);
    if (close == std::string::npos) break;
    attrs[name] = DecodeEntities(tag.substr(pos + 1, close - pos - 1));
    pos = close + 1;
  }
  return attrs;
}

int Decimal(const Attributes& a, const char* name) {
  auto it = a.find(name);
  return it == a.end() ? 0 : std::atoi(it->second.c_str());
}

std::string Text(const Attributes& a, const char* name) {
  auto it = a.find(name);
  return it == a.end() ? std::string() : it->second;
}

// "x#y#w#h"; missing or malformed parts read as 0.
void ParseRect(const std::string& s, LayoutKey& key) {
  int v[4] = {0, 0, 0, 0};
  std::size_t start = 0;
  for (int i = 0; i < 4 && start <= s.size(); ++i) {
    std::size_t hash = s.find('#', start);
    if (hash == std::string::npos) hash = s.size();
    v[i] = std::atoi(s.substr(start, hash - start).c_str());
    start = hash + 1;
  }
  key.x = v[0];
  key.y = v[1];
  key.w = v[2];
  key.h = v[3];
}

}  // namespace

bool ParseKeyboardLayout(const std::string& text, KeyboardLayout& layout, std::string& error) {
  layout = KeyboardLayout{};
  bool inKeyboard = false, foundKeyboard = false;
  std::size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string::npos) {
    if (text.compare(pos, 4, "<!--") == 0) {
      const std::size_t end = text.find("-->", pos + 4);
      if (end == std::string::npos) break;
      pos = end + 3;
      continue;
    }
    std::size_t end = pos + 1;
    char quote = 0;
    for (; end < text.size(); ++end) {  // '>' inside a quoted value does not end the tag
      if (quote != 0) {
        if (text[end] == quote) quote = 0;
      } else if (text[end] == '"' || text[end] == '\'') {
        quote = text[end];
      } else if (text[end] == '>') {
        break;
      }
    }
    if (end >= text.size()) break;
    const std::string tag = text.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    if (tag.empty() || tag[0] == '?' || tag[0] == '!') continue;
    const bool closing = tag[0] == '/';
    std::size_t nameEnd = closing ? 1 : 0;
    while (nameEnd < tag.size() && tag[nameEnd] != ' ' && tag[nameEnd] != '\t' &&
           tag[nameEnd] != '\r' && tag[nameEnd] != '\n' && tag[nameEnd] != '/')
      ++nameEnd;
    const std::string name = tag.substr(closing ? 1 : 0, nameEnd - (closing ? 1 : 0));
    const bool selfClosing = !closing && tag.back() == '/';
    if (name == "Keyboard") {
      if (closing) {
        inKeyboard = false;
        if (foundKeyboard) break;  // only the first keyboard counts, as in the program
      } else if (!foundKeyboard) {
        const Attributes a = ParseAttributes(tag, nameEnd);
        layout.width = Decimal(a, "width");
        layout.height = Decimal(a, "height");
        layout.image = Text(a, "image");
        foundKeyboard = true;
        inKeyboard = !selfClosing;
      }
    } else if (name == "key" && !closing && inKeyboard) {
      const Attributes a = ParseAttributes(tag, nameEnd);
      LayoutKey key;
      key.name = Text(a, "name");
      key.code = static_cast<unsigned>(std::strtoul(Text(a, "code").c_str(), nullptr, 16));
      ParseRect(Text(a, "rect"), key);
      layout.keys.push_back(key);
    }
  }
  if (!foundKeyboard) {
    error = "no Keyboard element";
    return false;
  }
  if (layout.width <= 0 || layout.height <= 0) {
    error = "the Keyboard size is not positive";
    return false;
  }
  if (layout.image.empty() || layout.image.find('/') != std::string::npos ||
      layout.image.find('\\') != std::string::npos || layout.image.find("..") != std::string::npos) {
    error = "the Keyboard image is empty or not a plain file name";
    return false;
  }
  return true;
}

bool ReadKeyboardLayout(const std::string& path, KeyboardLayout& layout, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseKeyboardLayout(text.str(), layout, error);
}

}  // namespace skingen
