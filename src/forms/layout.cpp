#include "forms/layout.h"

#include <cctype>

#include "forms/errors.h"
#include "forms/text.h"

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  LayoutObject ParseDocument() {
    LayoutObject root = ParseObject();
    SkipBlanks();
    if (pos_ != text_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw Exception("EParserError",
                    "Invalid stored layout at line " + std::to_string(line_) + ": " + what);
  }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
  }

  std::string Name() {
    SkipBlanks();
    size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    if (start == pos_) Fail("a name was expected");
    return text_.substr(start, pos_ - start);
  }

  bool PeekWord(const char* word) {
    SkipBlanks();
    size_t n = std::char_traits<char>::length(word);
    if (text_.compare(pos_, n, word) != 0) return false;
    return pos_ + n == text_.size() || !IsNameChar(text_[pos_ + n]);
  }

  void Expect(char c) {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  LayoutObject ParseObject() {
    if (!PeekWord("object")) Fail("'object' was expected");
    LayoutObject object;
    object.line = line_;
    Name();  // the word "object"
    object.name = Name();
    Expect(':');
    object.class_name = Name();
    for (;;) {
      if (PeekWord("end")) {
        Name();
        return object;
      }
      if (PeekWord("object")) {
        object.children.push_back(ParseObject());
        continue;
      }
      if (pos_ >= text_.size()) Fail("'end' is missing");
      object.properties.push_back(ParseProperty());
    }
  }

  LayoutProperty ParseProperty() {
    LayoutProperty property;
    property.line = line_;
    property.name = Name();
    Expect('=');
    property.value = ParseValue();
    return property;
  }

  LayoutValue ParseValue() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("a value was expected");
    LayoutValue value;
    char c = text_[pos_];
    if (c == '\'') {
      value.kind = LayoutValue::Kind::kString;
      value.text = Utf8ToGbk(QuotedString());
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      value.kind = LayoutValue::Kind::kInteger;
      value.integer = Integer();
    } else if (c == '[') {
      value.kind = LayoutValue::Kind::kSet;
      ++pos_;
      SkipBlanks();
      while (pos_ < text_.size() && text_[pos_] != ']') {
        value.set.push_back(Name());
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
      }
      Expect(']');
    } else if (c == '<') {
      value.kind = LayoutValue::Kind::kCollection;
      ++pos_;
      while (PeekWord("item")) {
        Name();
        std::vector<LayoutProperty> item;
        while (!PeekWord("end")) {
          if (pos_ >= text_.size()) Fail("'end' of an item is missing");
          item.push_back(ParseProperty());
        }
        Name();
        value.items.push_back(std::move(item));
      }
      Expect('>');
    } else {
      value.kind = LayoutValue::Kind::kIdentifier;
      value.text = Name();
    }
    return value;
  }

  std::string QuotedString() {
    std::string out;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("a string is not closed");
      char c = text_[pos_++];
      if (c == '\'') {
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          out += '\'';
          ++pos_;
          continue;
        }
        return out;
      }
      out += c;
    }
  }

  long long Integer() {
    size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    size_t digits = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (digits == pos_ || pos_ - digits > 18) Fail("a number was expected");
    return std::stoll(text_.substr(start, pos_ - start));
  }

  const std::string& text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

LayoutObject ParseLayout(const std::string& utf8_text) { return Parser(utf8_text).ParseDocument(); }
