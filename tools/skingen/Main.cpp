#include "SkinManifest.h"
#include "SkinPainter.h"
#include "core/XRGB.h"
#include "core/XString.h"
#include "core/XStringConversion.h"
#include "gui/XColorDictionary.h"
#include "gui/XViewCursors.h"

#include <iostream>

namespace
{
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;
/** Where the images of the skin folder go, below the system folder. */
const char* const kImagesFolder = "Skins/QM7/Images";
const char* const kCursorsFolder = "Cursors";
const char* const kColourTableName = "GlobalColors.dat";

int Fail(const juce::String& message)
{
    std::cerr << "skingen: " << message << std::endl;
    return kExitFailed;
}

/** Writes picture as PNG bytes to file (also for ".bmp" names: images are decoded by content),
    making the folders on the way. */
bool WritePng(const juce::Image& picture, const juce::File& file)
{
    if (!file.getParentDirectory().createDirectory())
        return false;
    file.deleteFile();
    juce::FileOutputStream out(file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream(picture, out);
}
} // namespace

/** The skin generator: draws every image of the skin's manifest in the colours of the skin's colour
    table and writes it as PNG below the system folder, together with the base view's cursor
    pictures.

        skingen MANIFEST SYSTEM_FOLDER

    SYSTEM_FOLDER must already hold "GlobalColors.dat". Exits 0 when every image was written, 1
    when the manifest, the colour table or any image failed (every failure is reported), 2 on a
    wrong command line. */
int main(int argc, char** argv)
{
    // JUCE started and ended around the drawing, so that its glyph and typeface caches go at the end.
    const juce::ScopedJuceInitialiser_GUI juceSession;
    if (argc != 3)
    {
        std::cerr << "usage: skingen MANIFEST SYSTEM_FOLDER" << std::endl;
        return kExitUsage;
    }
    const juce::File manifestFile = juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]);
    const juce::File systemFolder = juce::File::getCurrentWorkingDirectory().getChildFile(argv[2]);

    SkinManifest manifest;
    if (!manifest.Parse(manifestFile.loadFileAsString()))
    {
        for (const juce::String& error : manifest.GetErrors())
            std::cerr << manifestFile.getFullPathName() << ": " << error << std::endl;
        return kExitFailed;
    }
    if (manifest.GetRows().isEmpty())
        return Fail("no rows in " + manifestFile.getFullPathName());

    XColorDictionary colours;
    const juce::File colourTable = systemFolder.getChildFile(kColourTableName);
    if (colours.Load(ToXString(colourTable.getFullPathName())) != XColorDictionary::kResultOk)
        return Fail("cannot read " + colourTable.getFullPathName());
    SkinPainter painter(
        [&colours](const juce::String& name, juce::Colour& colour)
        {
            XRGB found;
            if (colours.FindColor(name.toRawUTF8(), found) != XColorDictionary::kResultOk)
                return false;
            colour = found.ToColour();
            return true;
        });

    const juce::File imagesFolder = systemFolder.getChildFile(kImagesFolder);
    int failures = 0;
    int written = 0;
    for (const SkinImageRow& row : manifest.GetRows())
    {
        for (int frame = 0; frame < row.frames; ++frame)
        {
            juce::Image picture;
            juce::String error;
            const juce::File file = imagesFolder.getChildFile(row.FrameName(frame));
            if (!painter.Paint(row, frame, picture, error))
            {
                std::cerr << manifestFile.getFullPathName() << ": line " << row.line << ": " << error
                          << std::endl;
                ++failures;
                break;
            }
            if (!WritePng(picture, file))
            {
                std::cerr << "skingen: cannot write " << file.getFullPathName() << std::endl;
                ++failures;
                break;
            }
            ++written;
        }
    }
    if (XViewCursors::WriteImages(systemFolder.getChildFile(kCursorsFolder)) != XViewCursors::kImageCount)
        return Fail("cannot write the cursors into " +
                    systemFolder.getChildFile(kCursorsFolder).getFullPathName());
    if (failures > 0)
        return Fail(juce::String(failures) + " rows failed");
    std::cout << "skingen: " << written << " images and " << XViewCursors::kImageCount << " cursors in "
              << systemFolder.getFullPathName() << std::endl;
    return kExitOk;
}
