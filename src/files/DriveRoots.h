#pragma once

#include "core/XString.h"

/** The root of the drive that holds a path: the longest drive root (a mount point,
    PlatformFileSystem::GetDriveRoots) that the path lies under, with '\' separators and a trailing
    '\' ("\" for the system's root); "" for an empty path. Any thread. */
XString DriveRootOf(const XString& path);

/** True when path lies under folder (folder itself included), separators and one trailing '\'
    aside. */
bool PathLiesUnder(const XString& path, const XString& folder);
