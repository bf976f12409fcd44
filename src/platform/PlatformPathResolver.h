#pragma once

#include <string>

/** Finds files whose names the program writes without regard to case. The skin and the program name
    files in any letter case ("Widgets\Knob.PNG"), as the system it was designed for ignores case,
    while this file system compares names exactly.

    ResolveIgnoringCase turns every '\' into '/' and then walks the path one component at a time:
    a component that exists as written is kept, otherwise the folder is listed and the first entry
    (in byte order) that equals the component regardless of case (A-Z, a-z) is taken. When nothing
    matches, the rest of the path is kept as written, so the result names a missing file.
    Relative paths are resolved against the current folder and stay relative. Thread-safe (no
    state). */
class PlatformPathResolver final
{
public:
    static std::string ResolveIgnoringCase(const std::string& path);

    /** True when path names an existing regular file (not a folder). */
    static bool IsExistingFile(const std::string& path);

    PlatformPathResolver() = delete;
};
