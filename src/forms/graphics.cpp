#include "forms/graphics.h"

#include <cstring>

#include "forms/errors.h"
#include "forms/text.h"

COLORREF ColorToRGB(TColor color) {
  if (color & 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

TColor ColorFromLayout(const LayoutValue& value) {
  if (value.kind == LayoutValue::Kind::kInteger) return static_cast<TColor>(value.integer);
  static const struct {
    const char* name;
    TColor color;
  } kNames[] = {{"clBlack", clBlack},
                {"clWhite", clWhite},
                {"clMoneyGreen", clMoneyGreen},
                {"clBtnFace", clBtnFace},
                {"clWindowText", clWindowText},
                {"clInactiveCaption", clInactiveCaption}};
  for (const auto& entry : kNames)
    if (value.text == entry.name) return entry.color;
  throw Exception("EConvertError", "Unknown colour " + value.text);
}

LPCWSTR CursorFromLayout(const LayoutValue& value) {
  if (value.IsIdentifier("crHandPoint")) return IDC_HAND;
  if (value.IsIdentifier("crDefault")) return IDC_ARROW;
  throw Exception("EConvertError", "Unknown cursor " + value.text);
}

bool TFont::SetProperty(const std::string& sub, const LayoutValue& value) {
  if (sub == "Name") {
    name = value.text;
  } else if (sub == "Height") {
    height = static_cast<int>(value.integer);
  } else if (sub == "Color") {
    color = ColorFromLayout(value);
  } else if (sub == "Style") {
    bold = false;
    for (const std::string& s : value.set) bold = bold || s == "fsBold";
  } else if (sub == "Charset") {
    if (value.IsIdentifier("ANSI_CHARSET")) charset = ANSI_CHARSET;
    else if (value.IsIdentifier("GB2312_CHARSET")) charset = GB2312_CHARSET;
    else charset = DEFAULT_CHARSET;
  } else {
    return false;
  }
  return true;
}

HFONT TFont::Create() const {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  // The stored charset of a Chinese face says ANSI: the face name picks the glyphs, so
  // ask for any charset and let the name decide.
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  std::wstring face = FromGbk(name);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

MemoryCanvas::MemoryCanvas(HDC reference, int width, int height)
    : dc_(CreateCompatibleDC(reference)),
      bitmap_(CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1)),
      old_(SelectObject(dc_, bitmap_.Get())) {}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
}
