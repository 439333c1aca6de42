// The resource that keeps room in setuvane.exe's resource section for the version
// resource that `setuvane-pack build` writes into a single-file installer: the tool
// drops it and lays the section out again in the space it leaves.
#pragma once

#define IDR_VERSION_ROOM 900
