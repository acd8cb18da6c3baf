#include <gtest/gtest.h>

#include "platform/SettingsCodec.h"

namespace pellimo::platform {
namespace {

using ansi::Color;
using ansi::Font;

TEST(SettingsCodec, ColoursAndFontsRoundTripExactly) {
  for (const Color& color :
       {Color::grey(0.0, 0.5), Color::grey(1.0 / 3, 0.1 + 0.2),
        Color::rgb(0.1 + 0.2, 1.0 / 3, 2.0 / 3, 0.7), Color::rgb(1, 0, 5e-324)}) {
    EXPECT_EQ(unarchiveColor(archiveColor(color)), color) << archiveColor(color).toStdString();
  }
  for (const Font& font : {Font::system(), Font{"DejaVu Sans Mono", 12.5, Font::kBoldWeight, true},
                           Font{"Noto Sans \xE6\x97\xA5\xE6\x9C\xAC", 0.1 + 0.2, 15, false}}) {
    EXPECT_EQ(unarchiveFont(archiveFont(font)), font);
  }
}

TEST(SettingsCodec, ValuesOfTheOtherClassOrUndecodableReadAsAbsent) {
  EXPECT_EQ(unarchiveColor(archiveFont(Font::system())), std::nullopt);
  EXPECT_EQ(unarchiveFont(archiveColor(Color::white())), std::nullopt);
  const char* const colors[] = {
      "",
      "garbage",
      "[0, 0, 0]",
      R"({"model":"grey","components":[0],"alpha":1})",
      R"({"class":"color","model":"cmyk","components":[0,0,0,0],"alpha":1})",
      R"({"class":"color","model":"grey","components":[0,0,0],"alpha":1})",
      R"({"class":"color","model":"rgb","components":[0,"0.5",1],"alpha":1})",
      R"({"class":"color","model":"rgb","components":[0,1.5,1],"alpha":1})",
      R"({"class":"color","model":"grey","components":[-0.1],"alpha":1})",
      R"({"class":"color","model":"grey","components":[0.5]})",
      R"({"class":"color","model":"grey","components":[0.5],"alpha":2})",
  };
  for (const char* text : colors)
    EXPECT_EQ(unarchiveColor(text), std::nullopt) << text;
  const char* const fonts[] = {
      R"({"class":"font","family":"Mono","pointSize":12,"weight":5})",
      R"({"class":"font","family":3,"pointSize":12,"weight":5,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":0,"weight":5,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":16,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":-1,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":5.5,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":5,"italic":"yes"})",
  };
  for (const char* text : fonts)
    EXPECT_EQ(unarchiveFont(text), std::nullopt) << text;
}

}  // namespace
}  // namespace pellimo::platform
