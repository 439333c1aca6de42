// The e-mail report links of the two dialogs: "mailto:" links to the support
// address that the shell hands to the user's mail program.
//
// Subject and body are percent-encoded (RFC 6068), so that "&", "#", "?" or a line
// break inside a report cannot cut the link or spill into another field. The texts'
// UTF-8 octets are encoded, which is what RFC 6068 asks for and what mail programs
// decode, and it leaves the link pure ASCII, so it survives the ANSI shell call
// whatever the code page.
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

// Where the reports go.
inline constexpr std::string_view kSupportAddress = "pomoc@setuvane.example";

// Percent-encodes a text for a mailto: header value: every octet of its UTF-8
// except the unreserved characters (letters, digits, "-._~") becomes %XX; every
// line break (CR LF, a lone CR or a lone LF) becomes %0D%0A.
std::string EncodeMailtoValue(std::string_view text);

// The question window's link: the title as subject, the message as body.
std::string BuildMessageMailLink(std::string_view title, std::string_view message);

// The problem dialog's link: the title as subject; the body reads "[problem]:",
// the hint, "[details]:", the details.
std::string BuildProblemMailLink(std::string_view title, std::string_view hint,
                                 std::string_view details);

}  // namespace setuvane
