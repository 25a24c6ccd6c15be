// The stored layout of a form: a text resource, read when the form is created.
//
//   object Form1: TForm1
//     Caption = 'text'             strings in single quotes ('' is a quote)
//     Width = 991                  whole numbers, also negative
//     WindowState = wsMaximized    identifiers (True, False, clBlack, ...)
//     Anchors = [akLeft, akTop]    sets
//     TitleBarButtons = <          collections of items
//       item
//         Top = 4
//       end>
//     object Child: TClass ... end
//   end
//
// The text is UTF-8; strings are handed on as 8-bit texts in code page 936.
#pragma once

#include <string>
#include <vector>

struct LayoutProperty;

struct LayoutValue {
  enum class Kind { kInteger, kString, kIdentifier, kSet, kCollection };
  Kind kind = Kind::kInteger;
  long long integer = 0;
  std::string text;                                  // string (GBK) or identifier
  std::vector<std::string> set;                      // set members
  std::vector<std::vector<LayoutProperty>> items;    // collection items

  bool IsIdentifier(const char* name) const { return kind == Kind::kIdentifier && text == name; }
};

struct LayoutProperty {
  std::string name;  // may be dotted: Font.Height
  LayoutValue value;
  int line = 0;
};

struct LayoutObject {
  std::string name;
  std::string class_name;
  std::vector<LayoutProperty> properties;
  std::vector<LayoutObject> children;
  int line = 0;
};

// Throws Exception ("Invalid stored layout at line N: ...") on malformed text.
LayoutObject ParseLayout(const std::string& utf8_text);
