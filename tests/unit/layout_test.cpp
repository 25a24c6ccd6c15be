#include "forms/layout.h"

#include <gtest/gtest.h>

#include "forms/errors.h"

TEST(Layout, ReadsObjectsPropertiesSetsAndCollections) {
  // The stored layout is UTF-8 text, whatever the program's own encoding.
  LayoutObject root = ParseLayout(
      u8"object Form1: TForm1\n"
      "  Caption = '考试 ''A'''\n"
      "  Font.Height = -14\n"
      "  Anchors = [akLeft, akTop]\n"
      "  WindowState = wsMaximized\n"
      "  Items = <\n"
      "    item\n"
      "      Text = 'x'\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "  object Child: TChild\n"
      "    Left = 8\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(root.name, "Form1");
  EXPECT_EQ(root.class_name, "TForm1");
  ASSERT_EQ(root.properties.size(), 5u);
  EXPECT_EQ(root.properties[0].value.text, "考试 'A'");  // handed on in GBK; quotes doubled
  EXPECT_EQ(root.properties[1].value.integer, -14);
  EXPECT_EQ(root.properties[2].value.set, (std::vector<std::string>{"akLeft", "akTop"}));
  EXPECT_TRUE(root.properties[3].value.IsIdentifier("wsMaximized"));
  ASSERT_EQ(root.properties[4].value.items.size(), 2u);
  EXPECT_EQ(root.properties[4].value.items[0][0].value.text, "x");
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].properties[0].value.integer, 8);
}

TEST(Layout, MalformedTextIsAnErrorWithItsLine) {
  const char* cases[] = {
      "object A: TA\n",                     // no end
      "object A: TA\n  Caption = 'x\nend",  // string not closed
      "object A TA\nend",                   // no colon
      "object A: TA\n  Width = \nend",      // no value
      "object A: TA\nend\nend",             // text after the end
      "object A: TA\n  L = <item X = 1>\nend",
  };
  for (const char* text : cases) {
    try {
      ParseLayout(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const Exception& e) {
      EXPECT_EQ(e.ClassName(), "EParserError");
      EXPECT_NE(e.Message().find("line"), std::string::npos);
    }
  }
}
