#include "tools/winget/winget_manifest.h"

#include <nlohmann/json.hpp>

#include "core/package/settings.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/uninstall_setup.h"
#include "system/cp1250.h"
#include "system/setup_text.h"
#include "system/text_helpers.h"
#include "system/utf8.h"
#include "tools/printable.h"
#include "tools/winget/yaml_text.h"

namespace setuvane::pack {
namespace {

using Json = nlohmann::ordered_json;

// The installer's texts are Polish, and so are the package's own.
constexpr char kLocale[] = "pl-PL";

// The installer's exit codes (README, "Unattended installation") that winget has a
// response for. 3010 is a success that makes winget report a restart to finish.
constexpr struct {
  int code;
  const char* response;
} kReturnResponses[] = {
    {kExitEnvironmentRefused, "systemNotSupported"},  // safe mode
    {kExitBadSwitches, "invalidParameter"},
    {kExitAnotherRunning, "installInProgress"},
    {kExitRestartAdvised, "rebootRequiredToFinish"},
};

// Blanks as the schemas' regular expressions (ECMAScript's \s) know them.
bool IsBlank(char32_t c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// The characters a version or a part of an identifier may not hold: those Windows
// file names cannot, and control characters.
bool IsForbidden(char32_t c) {
  return c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
         c == '|';
}

bool HasForbidden(std::string_view text, bool blanksToo) {
  for (size_t at = 0; at < text.size();) {
    const char32_t c = NextCodePoint(text, at);
    if (IsForbidden(c) || (blanksToo && IsBlank(c))) return true;
  }
  return false;
}

// Publisher.Product: two to eight parts joined by dots, each of 1 to 32 characters.
bool IsIdentifier(const std::string& id) {
  if (CharacterCount(id) > 128 || HasForbidden(id, true)) return false;
  int parts = 0;
  for (size_t start = 0;; ++parts) {
    const size_t dot = id.find('.', start);
    const size_t length = CharacterCount(std::string_view(id).substr(start, dot - start));
    if (length < 1 || length > 32) return false;
    if (dot == std::string::npos) return parts + 1 >= 2 && parts + 1 <= 8;
    start = dot + 1;
  }
}

// An address of the schemes winget downloads from; the rest of it on one line.
bool IsUrl(const std::string& url) {
  const size_t rest = url.find("://");
  if (rest == std::string::npos || rest + 3 == url.size() || CharacterCount(url) > 2048) return false;
  const std::string scheme = AsciiLower(url.substr(0, rest));
  if (scheme != "http" && scheme != "https") return false;
  for (size_t at = rest + 3; at < url.size();) {
    const char32_t c = NextCodePoint(url, at);
    if (c < 0x20 || c == 0x2028 || c == 0x2029) return false;
  }
  return true;
}

// The product's name without the version its title may end in: the package's name
// stays the same from one version to the next.
std::string PackageName(const WingetProduct& product) {
  const std::string suffix = " " + product.version;
  const std::string& title = product.title;
  if (!product.version.empty() && title.size() > suffix.size() &&
      title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0) {
    return title.substr(0, title.size() - suffix.size());
  }
  return title;
}

std::string ShortDescription(const WingetProduct& product, const WingetOptions& options) {
  return options.description.empty() ? PackageName(product) : options.description;
}

void CheckLength(const std::string& what, const std::string& text, size_t least, size_t most,
                 std::vector<std::string>& refusals) {
  const size_t length = CharacterCount(text);
  if (length >= least && length <= most) return;
  refusals.push_back(what + " \"" + Printable(text) + "\": winget takes " + std::to_string(least) + " to " +
                     std::to_string(most) + " characters, not " + std::to_string(length));
}

// The file of one manifest: the header winget's own tools write, naming the schema
// an editor checks it against (by its identifier, in which the type is in lower
// case), then the fields.
ManifestFile File(const std::string& name, const Json& fields) {
  const std::string type = AsciiLower(fields["ManifestType"].get<std::string>());
  return {name, "# Created with setuvane-pack\n# yaml-language-server: $schema=https://aka.ms/winget-manifest." + type +
                    "." + kWingetManifestVersion + ".schema.json\n\n" + YamlText(fields)};
}

}  // namespace

WingetProduct ProductOfSettings(const std::string& installInf) {
  SetDefaultSettings();
  for (const std::string& line : SplitSetupLines(installInf)) ApplySettingsLine(Cp1250ToUtf8(line));
  WingetProduct product;
  product.title = InstallMainTitle;
  product.version = ProductVersion;
  product.publisher = ProductPublisher;
  product.productCode = ProductEntryKey();
  product.hasEntry = ProductUninstall;
  return product;
}

std::vector<std::string> WingetRefusals(const WingetProduct& product, const WingetOptions& options) {
  std::vector<std::string> refusals;
  if (!IsIdentifier(options.identifier)) {
    refusals.push_back("--id " + Printable(options.identifier) +
                       ": winget takes an identifier of 2 to 8 parts joined by dots (Publisher.Product), each of 1 "
                       "to 32 characters without blanks or \\ / : * ? \" < > |, at most 128 in all");
  }
  if (!IsUrl(options.installerUrl)) {
    refusals.push_back("--url " + Printable(options.installerUrl) +
                       ": winget downloads the installer from an http:// or https:// address of at most 2048 "
                       "characters");
  }
  if (!product.hasEntry) {
    refusals.push_back("install.inf turns the entry among the installed programs off (PRODUCT_UNINSTALL): winget "
                       "could neither detect the product nor remove it");
  }
  if (TrimControl(product.version).empty()) {
    refusals.push_back("install.inf names no PRODUCT_VERSION: winget needs the version, and compares it with the "
                       "entry's DisplayVersion");
  } else if (CharacterCount(product.version) > 128 || HasForbidden(product.version, false)) {
    refusals.push_back("PRODUCT_VERSION \"" + Printable(product.version) +
                       "\": winget takes a version of at most 128 characters without \\ / : * ? \" < > |");
  }
  if (product.publisher.empty()) {
    refusals.push_back("install.inf names no PRODUCT_PUBLISHER: winget needs the publisher");
  } else {
    CheckLength("PRODUCT_PUBLISHER", product.publisher, 2, 256, refusals);
  }
  CheckLength("INSTALL_MAIN_TITLE", product.title, 2, 256, refusals);
  if (PackageName(product) != product.title) CheckLength("the name", PackageName(product), 2, 256, refusals);
  CheckLength("--license", options.license, 3, 512, refusals);
  CheckLength(options.description.empty() ? "the short description (the name; --description gives another)"
                                          : "--description",
              ShortDescription(product, options), 3, 256, refusals);
  return refusals;
}

std::vector<ManifestFile> WingetManifests(const WingetProduct& product, const WingetOptions& options) {
  const std::string& id = options.identifier;
  const Json head{{"PackageIdentifier", id}, {"PackageVersion", product.version}};

  Json version = head;
  version["DefaultLocale"] = kLocale;
  version["ManifestType"] = "version";
  version["ManifestVersion"] = kWingetManifestVersion;

  Json returnCodes = Json::array();
  for (const auto& [code, response] : kReturnResponses)
    returnCodes.push_back({{"InstallerReturnCode", code}, {"ReturnResponse", response}});
  Json installer = head;
  installer["InstallerLocale"] = kLocale;
  installer["InstallerType"] = "exe";
  installer["Scope"] = "machine";
  installer["InstallModes"] = {"interactive", "silent", "silentWithProgress"};
  installer["InstallerSwitches"] = {{"Silent", "/VERYSILENT"},
                                    {"SilentWithProgress", "/SILENT"},
                                    {"InstallLocation", "/DIR=\"<INSTALLPATH>\""},
                                    {"Log", "/LOG=\"<LOGPATH>\""}};
  installer["ExpectedReturnCodes"] = returnCodes;
  installer["UpgradeBehavior"] = "install";
  if (product.elevatesSelf) installer["ElevationRequirement"] = "elevatesSelf";
  installer["ProductCode"] = product.productCode;
  installer["AppsAndFeaturesEntries"] = Json::array({{{"DisplayName", product.title},
                                                      {"Publisher", product.publisher},
                                                      {"DisplayVersion", product.version},
                                                      {"ProductCode", product.productCode}}});
  installer["Installers"] = Json::array(
      {{{"Architecture", "x86"}, {"InstallerUrl", options.installerUrl}, {"InstallerSha256", product.sha256}}});
  installer["ManifestType"] = "installer";
  installer["ManifestVersion"] = kWingetManifestVersion;

  Json locale = head;
  locale["PackageLocale"] = kLocale;
  locale["Publisher"] = product.publisher;
  locale["PackageName"] = PackageName(product);
  locale["License"] = options.license;
  locale["ShortDescription"] = ShortDescription(product, options);
  locale["ManifestType"] = "defaultLocale";
  locale["ManifestVersion"] = kWingetManifestVersion;

  return {File(id + ".yaml", version), File(id + ".installer.yaml", installer),
          File(id + ".locale." + kLocale + ".yaml", locale)};
}

}  // namespace setuvane::pack
