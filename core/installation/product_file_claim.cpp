#include "core/installation/product_file_claim.h"

namespace setuvane {

ProductFileClaim ClaimProductFile(const ProductFile& file, const std::function<bool()>& occupied,
                                  const std::function<bool()>& counted) {
  const std::optional<UninstallItem>& recorded = file.recorded;
  const std::optional<UninstallItemKind> kind = recorded ? std::optional(recorded->kind) : std::nullopt;
  // A file the record lists keeps the record's spelling, under which it may be
  // counted already: one file, one line, one count.
  const std::string& path = recorded ? recorded->path : file.path;
  if (file.inProgramFolder) {
    // A file the record lists is as the record has it, whatever lies there now:
    // the product's earlier installation made it, or found it there.
    const bool foreign = kind ? *kind == UninstallItemKind::kForeignFile : occupied();
    return {foreign ? PathItem(UninstallItemKind::kForeignFile, path) : FileItem(path, file.size, file.crc),
            std::nullopt};
  }
  if (kind == UninstallItemKind::kSharedFile)  // counted by the earlier installation already
    return {SharedFileItem(path, file.size, file.crc, recorded->created), std::nullopt};
  // An earlier release's own file or one it found in place keeps its owner; a file
  // whose count a removal took out, or none the record lists, is as the disk and
  // the counts have it: the counting products' when nothing lay there or it had a
  // count, else an earlier owner's.
  const bool ours = kind == UninstallItemKind::kFile ? true
                    : kind == UninstallItemKind::kForeignFile ? false
                                                              : !occupied() || counted();
  return {SharedFileItem(path, file.size, file.crc, ours), !ours};
}

}  // namespace setuvane
