#pragma once

#include "core/ObjectArray.h"
#include "core/StringToPtrMap.h"
#include "core/XString.h"
#include "core/XStringArray.h"
#include "gui/ISkinTextReader.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <string>
#include <unordered_map>

class JUCEShutdownHook;
class XImage;
class XMessage;

/** The skin resource manager: turns skin-relative names into file contents. It searches the archive
    "System.rsc" of the system folder first and then the skin folders on disk (system folder\Skins\
    <folder>\ for texts, ...\Images\ for images; the folder "Cursors" of the system folder for
    cursors), and keeps loaded images and cursors for the life of the program so that every view that
    names an image shares one XImage.

    Names are looked up without regard to case: an image name is normalised (lower-cased, ':' read as
    '\') for its cache entry, archive entries are compared lower-cased with '/', and every folder and
    file on disk is matched regardless of case. Nothing here reports an error: a missing text is
    empty, a missing image null, a missing cursor the arrow; a missing or unreadable archive counts
    as empty.

    The manager owns the cached images and cursors; callers never delete them. Images live until
    ClearCaches (GUI shutdown), cursors until JUCE shuts down: then the images, the cursors and the
    archive, all JUCE objects, are deleted (a later request loads them again). GUI thread only; no
    lock. The program's manager (GetResourceManager) is also the reader of skin texts
    (ISkinTextReader) for fonts and colours. */
class XResourceManager final : public ISkinTextReader
{
public:
    static constexpr const char* kArchiveName = "System.rsc";

    XResourceManager();
    XResourceManager(const XResourceManager&) = delete;
    XResourceManager& operator=(const XResourceManager&) = delete;
    ~XResourceManager() override;

    /** Sets the folder that skin paths start from (normally the system folder; tests inject one). */
    void SetBaseFolder(const XString& folder);
    /** The base folder; when none was set, the system folder (GetSystemFolder), else the "System"
        folder found by FindSystemFolder from the program's folder. */
    const XString& GetBaseFolder();
    /** Walks up from startFolder (itself first) to the first folder that has a "System" sub-folder
        and returns that sub-folder's path; "" when no folder up to the root has one. */
    static XString FindSystemFolder(const XString& startFolder);

    /** Appends a skin folder name to the search list; an empty name is ignored. */
    void AddSkinFolder(const XString& name);
    int CountSkinFolders() const { return skinFolders.GetCount(); }
    /** Opens "System.rsc" of the base folder as a zip archive, unless resFromDisk (the preference
        "resFromDisk" of the application's "Prefs" settings key) says that everything comes from
        disk. An archive opened before is closed first. */
    void OpenSystemArchive(bool resFromDisk);
    /** True while an archive with entries is open. */
    bool HasArchive() const { return !archiveIndex.empty(); }

    /** The text of a skin-relative file, read anew on every call from the first skin folder that
        has it; false and "" when none has it. */
    bool GetText(const XString& name, XString& text);
    /** The text of a file by full path: the archive entry when the archive holds the path, else the
        file on disk. False and "" when missing, unreadable or empty. */
    bool LoadTextFile(const XString& path, XString& text) override;

    /** The cached image of a skin-relative image name, loaded on first request from the first skin
        folder that has it; null when none has it (nothing is cached then, so a later request looks
        again). */
    XImage* GetImage(const XString& name);
    /** The image names that GetImage (and the sequences) asked for since the last ClearImageMisses
        and that loaded nothing, each once, in the order first asked: what the skin lacks of the
        images code and descriptions name. */
    const XStringArray& GetImageMisses() const { return imageMisses; }
    void ClearImageMisses() { imageMisses.RemoveAll(); }
    /** The image that a view's attributes name: the "imagePath" of the nested item "imageDesc" at
        index when there is one, else the string item "imagename" at index; null when no image loads. */
    XImage* GetImageFromAttributes(const XMessage& attributes, int32_t index);
    /** Fills images (which only refers to them) with the numbered images base0.png or base1.png
        onwards, count numbers, each tried as "%s%d.png", "%s%02d.png" and "%s%d.bmp"; numbers that
        load nothing are left out. Nothing for an empty base or count <= 0. */
    void LoadImageSequence(const XString& baseName, int32_t count, ObjectArray<XImage>& images);
    /** The cursor made from the image Cursors\name of the system folder with that hot spot (held
        inside the image), cached by path regardless of case; the arrow when no image loads. */
    juce::MouseCursor GetCursor(const XString& name, int32_t hotSpotX, int32_t hotSpotY);

    /** Deletes every cached image (cursors stay) and starts a new image generation. */
    void ClearCaches();
    /** Changes each time ClearCaches deletes the cached images: whoever keeps image pointers beyond
        one call compares it with the generation it looked them up in and looks them up again when it
        differs, since the old ones are gone. */
    uint32_t GetImageGeneration() const { return imageGeneration; }
    int CountCachedImages() const { return imageCache.GetCount(); }
    int CountCachedCursors() const { return cursorCache.GetCount(); }

    /** The cache key of an image name: lower-cased, every ':' turned into '\'. */
    static XString NormaliseImageName(const XString& name);

private:
    /** Base folder + '\', then "Skins\<folder>\" for a registered folder, then "Images\". */
    XString SkinPath(int index, bool images);
    /** A stream of the archive entry for a full path, null when the archive does not hold it. */
    std::unique_ptr<juce::InputStream> OpenArchiveEntry(const XString& path);
    /** GetImage without noting a miss. */
    XImage* FindImage(const XString& name);
    void NoteImageMiss(const XString& name);
    /** A new image with pixels from the archive or the disk, null when none loads. */
    std::unique_ptr<XImage> LoadImageByPath(const XString& path);
    /** Deletes every value of a cache that owns its values and empties it. */
    template <typename T> static void DeleteAll(StringToPtrMap<T>& cache);
    /** Makes sure that JUCE's shut-down deletes the cached images and closes the archive. */
    void ReleaseImagesAtJUCEShutdown();
    /** Makes sure that JUCE's shut-down deletes the cached cursors. Called once a cursor exists, so
        that its hook is newer than JUCE's display connection and runs before that closes. */
    void ReleaseCursorsAtJUCEShutdown();

    /** Normalised image name to image; the images are owned here. */
    StringToPtrMap<XImage> imageCache;
    uint32_t imageGeneration = 0;
    /** Lower-cased cursor path to cursor; the cursors are owned here. */
    StringToPtrMap<juce::MouseCursor> cursorCache;
    XString baseFolder;
    XStringArray skinFolders;
    XStringArray imageMisses;
    std::unique_ptr<juce::ZipFile> archive;
    /** Lower-cased entry name with '/' separators to the first entry of that name. */
    std::unordered_map<std::string, int> archiveIndex;
    /** The hooks that release the images and archive, and the cursors, at JUCE's shut-down; null
        until needed and after they ran. JUCE owns them; the destructor runs those still pending. */
    JUCEShutdownHook* imageReleaseHook = nullptr;
    JUCEShutdownHook* cursorReleaseHook = nullptr;
};

/** The program's resource manager, created on first use and never destroyed (its JUCE objects go at
    JUCE's shut-down); it installs itself as the reader of skin texts. */
XResourceManager& GetResourceManager();
