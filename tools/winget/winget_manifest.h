// The winget manifest of a single-file installer: the three files of a multi-file
// manifest (version, installer, defaultLocale; manifest version 1.28.0) that
// winget's community repository takes, with what winget needs to install, detect
// and remove the product unattended: the switches, the exit codes, and the entry
// among the installed programs (its key as ProductCode, its version). Before
// anything is written, every field is checked against the rules of winget's
// manifest schemas (shapes and lengths, in characters), so that what winget would
// refuse is refused here, with the reason.
#pragma once

#include <string>
#include <vector>

namespace setuvane::pack {

inline constexpr char kWingetManifestVersion[] = "1.28.0";

// What the single file says of itself, UTF-8.
struct WingetProduct {
  std::string title;        // INSTALL_MAIN_TITLE: the entry's DisplayName
  std::string version;      // PRODUCT_VERSION: the entry's DisplayVersion
  std::string publisher;    // PRODUCT_PUBLISHER
  std::string productCode;  // the entry's key
  bool hasEntry = true;     // false when install.inf turns the entry off
  std::string sha256;       // of the whole file, 64 hexadecimal digits
  bool elevatesSelf = false;  // its manifest has Windows elevate it when it starts
};

// The product's settings as the installer reads them from install.inf
// (Windows-1250), with the entry's key made by the installer's own rule.
WingetProduct ProductOfSettings(const std::string& installInf);

// What the vendor gives on the command line, UTF-8.
struct WingetOptions {
  std::string identifier;   // PackageIdentifier, Publisher.Product
  std::string installerUrl;
  std::string license = "Proprietary";  // the repository's word for a licence of the vendor's own
  std::string description;  // ShortDescription; empty: the product's name
};

// Every reason winget would refuse the manifests; empty when there is none.
std::vector<std::string> WingetRefusals(const WingetProduct& product, const WingetOptions& options);

struct ManifestFile {
  std::string name;  // as the community repository names it
  std::string text;  // YAML, UTF-8
};

// The version, installer and defaultLocale manifests, in that order.
std::vector<ManifestFile> WingetManifests(const WingetProduct& product, const WingetOptions& options);

}  // namespace setuvane::pack
