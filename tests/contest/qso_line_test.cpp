#include "contest/qso_line.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantor {
namespace {

QsoLine exampleContact(QsoLine::Kind kind) {
  return QsoLine{.kind = kind,
                 .date = "260509",
                 .time = "1432",
                 .call = "QQ1ABC",
                 .modeCode = "1",
                 .rst = "59",
                 .sentNumber = "001",
                 .receivedNumber = "005",
                 .locator = "JN80XX",
                 .points = "123"};
}

TEST(QsoLine, WritesTheNormalAndTheDuplicateRecord) {
  EXPECT_EQ(exampleContact(QsoLine::Kind::Normal).text(),
            "260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");
  EXPECT_EQ(exampleContact(QsoLine::Kind::Duplicate).text(),
            "260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;0;;;;D\r\n");
}

TEST(QsoLine, KeepsFourteenSeparatorsWhenEveryFieldIsEmpty) {
  for (const auto kind : {QsoLine::Kind::Normal, QsoLine::Kind::Duplicate}) {
    QsoLine empty;
    empty.kind = kind;
    const std::string text = empty.text();
    EXPECT_EQ(std::count(text.begin(), text.end(), ';'), 14);
  }
  QsoLine noReceivedNumber = exampleContact(QsoLine::Kind::Normal);
  noReceivedNumber.receivedNumber.clear();
  EXPECT_EQ(noReceivedNumber.text(), "260509;1432;QQ1ABC;1;59;001;59;;;JN80XX;123;;N;;\r\n");
}

TEST(QsoLine, WritesASemicolonTypedByTheOperatorAsItStands) {
  QsoLine contact = exampleContact(QsoLine::Kind::Normal);
  contact.call = "QQ1;ABC";
  EXPECT_EQ(contact.text(), "260509;1432;QQ1;ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");
}

TEST(QsoLine, StartsAContactOnALineOfItsOwn) {
  const std::string line = exampleContact(QsoLine::Kind::Normal).text();
  const struct {
    std::string buffer;
    std::string expected;
  } cases[] = {
      {"", line},
      {"previous\r\n", "previous\r\n" + line},
      {"[END;Created by Vantor by Karsel]", "[END;Created by Vantor by Karsel]\r\n" + line},
  };
  for (const auto& c : cases) {
    Field buffer("Text15", c.buffer, Field::Lines::Multi);
    appendQsoLine(buffer, exampleContact(QsoLine::Kind::Normal));
    EXPECT_EQ(buffer.text(), c.expected) << c.buffer;
  }
}

// What the check before an export accepts as a record.
TEST(QsoLine, IsWellFormedWithARealDateTimeCallLocatorAndWholePoints) {
  const struct {
    std::string_view line;
    bool wellFormed;
  } cases[] = {
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", true},
      {"261207;1432;QQ1ABC/P;1;59;1000;59;;;JN80;0;;;;D", true},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;", false},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;;", false},
      {"261232;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", false},
      {"261207;1472;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", false},
      {"261207;1432;QQ 1ABC;1;59;001;59;005;;JN80XX;123;;N;;", false},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80X;123;;N;;", false},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;ZZ80XX;123;;N;;", false},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;12.5;;N;;", false},
      {"261207;1432;QQ1ABC;1;59;001;59;005;;JN80XX;;;N;;", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isWellFormedRecord(c.line), c.wellFormed) << c.line;
  }
}

}  // namespace
}  // namespace vantor
