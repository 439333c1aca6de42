// Failures of the archive subsystem. Each exception carries its number from the
// message table and takes its English text from there.
#pragma once

#include <stdexcept>
#include <string>

namespace setuvane::archive {

// Message numbers of the archive subsystem.
enum AbMessage : int {
  AbZipVersionError = 1,
  AbZipInvalidMethod = 2,
  AbZipNoExtraction = 3,
  AbZipInvalidPassword = 4,
  AbZipNoInsertion = 5,
  AbZipInvalidFactor = 6,
  AbUserAbort = 9,
  AbBadSpanStream = 13,
  AbSpanOverwrite = 15,
  AbNoSuchDirectory = 19,
  AbInflateBlockError = 20,
  AbBadStreamType = 21,
  AbZipBadCRC = 23,
  AbFileNotFound = 25,
  AbErrZipNoArchive = 27,
  AbErrZipInvalid = 28,
  // Beyond the 32-bit model: archives and entries of 2 GiB or more, Zip64 records.
  AbZipTooLarge = 100,
  // A stored path that would lead outside the base directory.
  AbZipUnsafePath = 101,
  // Entries whose local data share bytes (the overlapping-entry "zip bomb").
  AbZipOverlap = 102,
  // A name flagged as UTF-8 with a character that Windows-1250 lacks.
  AbZipNameNotCp1250 = 103,
  // A name that Windows cannot hold: a refused character, a device name, a final
  // dot or blank.
  AbZipBadName = 104,
  // A solid package whose stream does not decode, or ends early.
  AbSolidDamaged = 105,
};

// The text of a message number; empty for a number missing from the table.
const char* AbMessageText(int number);

class EAbException : public std::runtime_error {
 public:
  explicit EAbException(int number) : std::runtime_error(AbMessageText(number)), number_(number) {}
  EAbException(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
  int ErrorCode() const { return number_; }

 private:
  int number_;
};

class EAbZipException : public EAbException {
  using EAbException::EAbException;
};

#define SETUVANE_AB_EXCEPTION(Name, Base, Number) \
  class Name : public Base {                      \
   public:                                        \
    Name() : Base(Number) {}                      \
    explicit Name(const std::string& text) : Base(Number, text) {} \
  };

SETUVANE_AB_EXCEPTION(EAbZipVersion, EAbZipException, AbZipVersionError)
SETUVANE_AB_EXCEPTION(EAbZipInvalidMethod, EAbZipException, AbZipInvalidMethod)
SETUVANE_AB_EXCEPTION(EAbZipNoExtraction, EAbZipException, AbZipNoExtraction)
SETUVANE_AB_EXCEPTION(EAbZipInvalidPassword, EAbZipException, AbZipInvalidPassword)
SETUVANE_AB_EXCEPTION(EAbZipNoInsertion, EAbZipException, AbZipNoInsertion)
SETUVANE_AB_EXCEPTION(EAbZipInvalidFactor, EAbZipException, AbZipInvalidFactor)
SETUVANE_AB_EXCEPTION(EAbUserAbort, EAbException, AbUserAbort)
SETUVANE_AB_EXCEPTION(EAbZipBadSpanStream, EAbZipException, AbBadSpanStream)
SETUVANE_AB_EXCEPTION(EAbZipSpanOverwrite, EAbZipException, AbSpanOverwrite)
SETUVANE_AB_EXCEPTION(EAbNoSuchDirectory, EAbException, AbNoSuchDirectory)
SETUVANE_AB_EXCEPTION(EAbZipInflateBlock, EAbZipException, AbInflateBlockError)
SETUVANE_AB_EXCEPTION(EAbBadStream, EAbException, AbBadStreamType)
SETUVANE_AB_EXCEPTION(EAbZipBadCRC, EAbZipException, AbZipBadCRC)
SETUVANE_AB_EXCEPTION(EAbFileNotFound, EAbException, AbFileNotFound)
SETUVANE_AB_EXCEPTION(EAbNoArchive, EAbException, AbErrZipNoArchive)
SETUVANE_AB_EXCEPTION(EAbZipInvalid, EAbZipException, AbErrZipInvalid)
SETUVANE_AB_EXCEPTION(EAbZipTooLarge, EAbZipException, AbZipTooLarge)
SETUVANE_AB_EXCEPTION(EAbZipUnsafePath, EAbZipException, AbZipUnsafePath)
SETUVANE_AB_EXCEPTION(EAbZipOverlap, EAbZipException, AbZipOverlap)
SETUVANE_AB_EXCEPTION(EAbZipNameNotCp1250, EAbZipException, AbZipNameNotCp1250)
SETUVANE_AB_EXCEPTION(EAbZipBadName, EAbZipException, AbZipBadName)
SETUVANE_AB_EXCEPTION(EAbSolidDamaged, EAbZipException, AbSolidDamaged)

#undef SETUVANE_AB_EXCEPTION

}  // namespace setuvane::archive
