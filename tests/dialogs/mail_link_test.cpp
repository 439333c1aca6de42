#include "dialogs/mail_link.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace setuvane {
namespace {

// Decodes %XX the way a mail program reads a mailto: header value.
std::string PercentDecode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Field(const std::string& link, const std::string& name) {
  const size_t start = link.find(name + "=");
  const size_t end = link.find('&', start);
  return link.substr(start + name.size() + 1,
                     end == std::string::npos ? end : end - start - name.size() - 1);
}

TEST(MailLink, ReservedCharactersCannotCutTheReport) {
  const std::string title = "A & B # C ? D = E + F % G";
  const std::string text = "line 1\r\nline 2 & more #tag";
  const std::string link = BuildMessageMailLink(title, text);
  EXPECT_EQ(link.rfind("mailto:pomoc@setuvane.example?subject=", 0), 0u) << link;
  // Exactly two fields, whatever the texts hold.
  EXPECT_EQ(link.find('#'), std::string::npos);
  EXPECT_EQ(std::count(link.begin(), link.end(), '&'), 1);
  EXPECT_EQ(std::count(link.begin(), link.end(), '?'), 1);
  EXPECT_EQ(PercentDecode(Field(link, "subject")), title);
  EXPECT_EQ(PercentDecode(Field(link, "body")), text);
}

TEST(MailLink, LineBreaksBecomeCrLfWhateverTheirForm) {
  EXPECT_EQ(EncodeMailtoValue("a\r\nb"), "a%0D%0Ab");
  EXPECT_EQ(EncodeMailtoValue("a\nb\rc"), "a%0D%0Ab%0D%0Ac");
  EXPECT_EQ(EncodeMailtoValue("a\r\n\r\nb"), "a%0D%0A%0D%0Ab");
}

TEST(MailLink, PolishLettersAreSentAsUtf8) {
  // "ś" is C5 9B in UTF-8.
  EXPECT_EQ(EncodeMailtoValue("Wyślij"), "Wy%C5%9Blij");
  EXPECT_EQ(EncodeMailtoValue("a-b.c_d~e f"), "a-b.c_d~e%20f");
  EXPECT_EQ(EncodeMailtoValue(""), "");
}

TEST(MailLink, ProblemReportKeepsItsFieldsLabelsAndOrder) {
  const std::string link = BuildProblemMailLink("Problem instalacji", "hint & x", "line1\r\nline2");
  EXPECT_EQ(PercentDecode(Field(link, "subject")), "Problem instalacji");
  EXPECT_EQ(PercentDecode(Field(link, "body")), "[problem]:hint & x[details]:line1\r\nline2");
  // Empty hint and details still give both labels.
  EXPECT_EQ(PercentDecode(Field(BuildProblemMailLink("T", "", ""), "body")),
            "[problem]:[details]:");
}

}  // namespace
}  // namespace setuvane
