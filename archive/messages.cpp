#include "archive/exceptions.h"

namespace setuvane::archive {

const char* AbMessageText(int number) {
  switch (number) {
    case AbZipVersionError: return "Cannot extract file - newer version required";
    case AbZipInvalidMethod: return "Cannot extract file - unsupported compression method";
    case AbZipNoExtraction: return "Cannot extract file - no extraction support provided";
    case AbZipInvalidPassword: return "Cannot extract file - invalid password";
    case AbZipNoInsertion: return "Cannot insert file - no insertion support provided";
    case AbZipInvalidFactor: return "Invalid Reduce Factor";
    case AbUserAbort: return "Process aborted by user";
    case AbBadSpanStream: return "Spanned archives must be opened as file streams";
    case AbSpanOverwrite: return "Cannot update an existing spanned disk set";
    case AbNoSuchDirectory: return "Directory does not exist";
    case AbInflateBlockError: return "Cannot inflate block";
    case AbBadStreamType: return "Cannot truncate this type of stream";
    case AbZipBadCRC: return "Failed CRC Check";
    case AbFileNotFound: return "File not found";
    case AbErrZipNoArchive: return "Archive does not exist - FileName is blank";
    case AbErrZipInvalid: return "Invalid file - not a PKZip file";
    case AbZipTooLarge: return "Cannot read file - archives and entries of 2 GiB or more (Zip64) are not supported";
    case AbZipUnsafePath: return "Cannot extract file - stored path leads outside the base directory";
    case AbZipOverlap: return "Invalid file - the data of two entries overlap";
    case AbZipNameNotCp1250: return "Cannot extract file - the name has characters outside Windows-1250";
    case AbZipBadName: return "Cannot extract file - Windows cannot hold the name";
    case AbSolidDamaged: return "Invalid file - the package's compressed stream is damaged or cut short";
    default: return "";
  }
}

}  // namespace setuvane::archive
