#include "dialogs/mail_link.h"

#include <cctype>
#include <cstdio>

namespace setuvane {
namespace {

bool IsUnreserved(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

void AppendOctet(std::string& out, unsigned char c) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%%%02X", c);
  out += buf;
}

std::string MailLink(std::string_view subject, std::string_view body) {
  std::string link = "mailto:";
  link += kSupportAddress;
  link += "?subject=";
  link += EncodeMailtoValue(subject);
  link += "&body=";
  link += EncodeMailtoValue(body);
  return link;
}

}  // namespace

std::string EncodeMailtoValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "%0D%0A";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      continue;
    }
    // isalnum must see ASCII only: its answer for high bytes depends on the locale.
    const auto octet = static_cast<unsigned char>(c);
    if (octet < 0x80 && IsUnreserved(octet)) {
      out += c;
    } else {
      AppendOctet(out, octet);
    }
  }
  return out;
}

std::string BuildMessageMailLink(std::string_view title, std::string_view message) {
  return MailLink(title, message);
}

std::string BuildProblemMailLink(std::string_view title, std::string_view hint,
                                 std::string_view details) {
  std::string body = "[problem]:";
  body += hint;
  body += "[details]:";
  body += details;
  return MailLink(title, body);
}

}  // namespace setuvane
