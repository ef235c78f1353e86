#include "contest/contact.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantor {
namespace {

Contact exampleContact(bool duplicate) {
  Contact contact;
  contact.date = "260509";
  contact.time = "1432";
  contact.call = "QQ1ABC";
  contact.modeCode = "1";
  contact.rstSent = contact.rstReceived = "59";
  contact.serialSent = "001";
  contact.serialReceived = "005";
  contact.locator = "JN80XX";
  contact.newSquare = kNewSquareMark;
  contact.markDuplicate(duplicate, "123");
  return contact;
}

TEST(Contact, WritesTheNormalAndTheDuplicateRecord) {
  EXPECT_EQ(exampleContact(false).line(),
            "260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");
  EXPECT_EQ(exampleContact(true).line(), "260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;0;;;;D\r\n");
  Contact empty;
  const std::string text = empty.line();
  EXPECT_EQ(std::count(text.begin(), text.end(), ';'), 14);
  Contact typed = exampleContact(false);
  typed.call = "QQ1;ABC";
  EXPECT_EQ(typed.line(), "260509;1432;QQ1;ABC;1;59;001;59;005;;JN80XX;123;;N;;\r\n");
}

// A line of the record's shape reads back as the contact that writes it again unchanged, whatever
// its fields hold; any other line is no contact.
TEST(Contact, ReadsARecordAndWritesItBackUnchanged) {
  const struct {
    std::string_view line;
    bool record;
  } cases[] = {
      {"260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", true},
      {"260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;0;;;;D", true},
      {"260509;1432;qq1abc /p;2;599;1000;579;12;EX;JN80;12.5;X;;Y;Z", true},
      {"260509;1432;;;;;;;;;;;;;", true},
      {"2605;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", false},
      {"260509;14:32;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;", false},
      {"260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;", false},
      {"260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;123;;N;;;", false},
      {"PCall=QQ1ABC", false},
      {"", false},
  };
  for (const auto& c : cases) {
    const auto contact = Contact::read(c.line);
    ASSERT_EQ(contact.has_value(), c.record) << c.line;
    if (contact) {
      EXPECT_EQ(contact->line(), std::string(c.line) + "\r\n");
    }
  }
  EXPECT_TRUE(Contact::read("260509;1432;QQ1ABC;1;59;001;59;005;;JN80XX;0;;;;D")->isDuplicate());
  EXPECT_EQ(Contact::read("260509;1432;QQ1ABC;2;599;001;579;005;;JN80XX;0;;;;D")->rstReceived,
            "579");
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
