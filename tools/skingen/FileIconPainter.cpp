#include "FileIconPainter.h"

#include <initializer_list>
#include <utility>

namespace
{
/** One icon's drawing grid, 14 x 14 units in a square centred in the picture, and the colours and
    drawing steps its icons share. */
struct IconGrid
{
    juce::Graphics& g;
    juce::Rectangle<float> box;
    float unit;
    float line;
    juce::Colour ink;
    juce::Colour edge;

    /** The rectangle of grid position (x, y) and grid size (w, h). */
    juce::Rectangle<float> At(float x, float y, float w, float h) const
    {
        return juce::Rectangle<float>(box.getX() + x * unit, box.getY() + y * unit, w * unit, h * unit);
    }

    juce::Point<float> Point(float x, float y) const { return At(x, y, 0, 0).getPosition(); }

    /** A closed path through grid corners. */
    juce::Path Polygon(std::initializer_list<juce::Point<float>> corners) const
    {
        juce::Path path;
        bool first = true;
        for (const juce::Point<float>& corner : corners)
        {
            const juce::Point<float> point = Point(corner.x, corner.y);
            if (first)
                path.startNewSubPath(point);
            else
                path.lineTo(point);
            first = false;
        }
        path.closeSubPath();
        return path;
    }

    /** Fills the path and strokes it with the edge colour. */
    void Outlined(const juce::Path& path, juce::Colour fill) const
    {
        g.setColour(fill);
        g.fillPath(path);
        g.setColour(edge);
        g.strokePath(path, juce::PathStrokeType(line));
    }
};

void PaintFolder(const IconGrid& grid)
{
    grid.Outlined(grid.Polygon({{1, 3}, {5, 3}, {6.5f, 4.5f}, {13, 4.5f}, {13, 12}, {1, 12}}), grid.ink);
    grid.g.setColour(grid.ink.brighter(0.35f));
    grid.g.fillRect(grid.At(1.5f, 6, 11, 0.9f));
}

void PaintDrive(const IconGrid& grid, juce::Colour lamp, bool network)
{
    juce::Graphics& g = grid.g;
    juce::Path body;
    body.addRoundedRectangle(grid.At(1, 4, 12, 6), grid.unit);
    grid.Outlined(body, grid.ink);
    g.setColour(lamp);
    g.fillEllipse(grid.At(10, 6, 1.6f, 1.6f));
    g.setColour(grid.edge);
    g.fillRect(grid.At(2.5f, 6.5f, 5, 1));
    if (network)
    {
        // The cable down to a bar that joins the machines of the network.
        g.fillRect(grid.At(6.5f, 10, 1, 2));
        g.fillRect(grid.At(2, 12, 10, 1));
    }
}

void PaintDisc(const IconGrid& grid, juce::Colour hole)
{
    juce::Graphics& g = grid.g;
    juce::Path disc;
    disc.addEllipse(grid.At(1, 1, 12, 12));
    grid.Outlined(disc, grid.ink);
    g.setColour(grid.ink.brighter(0.5f));
    g.drawEllipse(grid.At(3, 3, 8, 8), grid.line);
    g.setColour(hole);
    g.fillEllipse(grid.At(5.5f, 5.5f, 3, 3));
}

void PaintFloppy(const IconGrid& grid)
{
    juce::Graphics& g = grid.g;
    juce::Path disk;
    disk.addRectangle(grid.At(1.5f, 1.5f, 11, 11));
    grid.Outlined(disk, grid.ink);
    g.setColour(grid.edge.brighter(0.6f));
    g.fillRect(grid.At(4, 1.5f, 6, 4)); // the shutter
    g.setColour(juce::Colours::white.withAlpha(0.85f));
    g.fillRect(grid.At(3, 7.5f, 8, 5)); // the label
}

void PaintStick(const IconGrid& grid)
{
    juce::Path stick;
    stick.addRoundedRectangle(grid.At(1, 4.5f, 9, 5), grid.unit);
    grid.Outlined(stick, grid.ink);
    juce::Path plug;
    plug.addRectangle(grid.At(10, 5.5f, 3, 3));
    grid.Outlined(plug, grid.edge.brighter(0.8f));
}

/** A page with a folded corner; text files carry lines, media files a note. */
void PaintPage(const IconGrid& grid, bool text, bool media)
{
    juce::Graphics& g = grid.g;
    grid.Outlined(grid.Polygon({{2.5f, 1}, {8.5f, 1}, {11.5f, 4}, {11.5f, 13}, {2.5f, 13}}),
                  juce::Colours::white);
    g.setColour(grid.edge);
    g.drawLine(juce::Line<float>(grid.Point(8.5f, 1), grid.Point(8.5f, 4)), grid.line);
    g.drawLine(juce::Line<float>(grid.Point(8.5f, 4), grid.Point(11.5f, 4)), grid.line);
    g.setColour(grid.ink);
    if (text)
    {
        for (float y : {6.0f, 8.0f, 10.0f})
            g.fillRect(grid.At(4, y, 6, 0.8f));
    }
    else if (media)
    {
        g.fillEllipse(grid.At(4, 9, 3, 2.4f));
        g.fillRect(grid.At(6.2f, 5, 0.9f, 5));
        g.fillRect(grid.At(6.2f, 5, 3, 0.9f));
    }
}
} // namespace

FileIconPainter::FileIconPainter(ColourOf colour) : colourOf(std::move(colour)) {}

bool FileIconPainter::Paint(juce::Graphics& g, const SkinImageRow& row)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> box = juce::Rectangle<float>(side, side)
                                           .withCentre({row.width / 2.0f, row.height / 2.0f})
                                           .reduced(side * 0.06f);
    const juce::Colour ink = colourOf(row.accent.isNotEmpty() ? row.accent : juce::String("windowText"));
    const juce::Colour edge = colourOf("faceEdge");
    const IconGrid grid{g, box, box.getWidth() / 14.0f, std::max(1.0f, side / 16.0f), ink, edge};

    if (row.HasVariant("folder"))
        PaintFolder(grid);
    else if (row.HasVariant("hd") || row.HasVariant("network"))
        PaintDrive(grid, colourOf("ledGreen"), row.HasVariant("network"));
    else if (row.HasVariant("cd"))
        PaintDisc(grid, colourOf("windowBackground"));
    else if (row.HasVariant("floppy"))
        PaintFloppy(grid);
    else if (row.HasVariant("usb"))
        PaintStick(grid);
    else if (row.HasVariant("file") || row.HasVariant("text") || row.HasVariant("media"))
        PaintPage(grid, row.HasVariant("text"), row.HasVariant("media"));
    else
        return false;
    return true;
}
