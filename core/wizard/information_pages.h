// The licence and product-information pages show the texts of license.inf and
// readme.inf from the setup folder.
#pragma once

#include "core/wizard/wizard_view.h"

namespace setuvane {

// Fill the licence and the product information lists from license.inf and
// readme.inf, one trimmed line an item. False (after a report) when the file
// cannot be read; the list then keeps what it held.
bool LoadLicense(ListItems& lsvLicense);
bool LoadReadme(ListItems& lsvReadme);

}  // namespace setuvane
