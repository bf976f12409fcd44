#include "FileIconPainter.h"

#include <initializer_list>
#include <utility>

FileIconPainter::FileIconPainter(ColourOf colour) : colourOf(std::move(colour)) {}

// One short drawing per icon kind on a shared grid and shared helpers (the lambdas below): kept in one
// function so that the drawings share them, which is why this runs long.
bool FileIconPainter::Paint(juce::Graphics& g, const SkinImageRow& row)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> box = juce::Rectangle<float>(side, side)
                                           .withCentre({row.width / 2.0f, row.height / 2.0f})
                                           .reduced(side * 0.06f);
    const juce::Colour ink = colourOf(row.accent.isNotEmpty() ? row.accent : juce::String("windowText"));
    const juce::Colour edge = colourOf("faceEdge");
    const float line = std::max(1.0f, side / 16.0f);
    const float unit = box.getWidth() / 14.0f; // the drawings below are laid out on a 14 x 14 grid
    const auto at = [&box, unit](float x, float y, float w, float h)
    { return juce::Rectangle<float>(box.getX() + x * unit, box.getY() + y * unit, w * unit, h * unit); };
    const auto polygon = [&at](std::initializer_list<juce::Point<float>> corners)
    {
        juce::Path path;
        bool first = true;
        for (const juce::Point<float>& corner : corners)
        {
            const juce::Point<float> point = at(corner.x, corner.y, 0, 0).getPosition();
            if (first)
                path.startNewSubPath(point);
            else
                path.lineTo(point);
            first = false;
        }
        path.closeSubPath();
        return path;
    };
    const auto outlined = [&g, &edge, line](const juce::Path& path, juce::Colour fill)
    {
        g.setColour(fill);
        g.fillPath(path);
        g.setColour(edge);
        g.strokePath(path, juce::PathStrokeType(line));
    };

    if (row.HasVariant("folder"))
    {
        outlined(polygon({{1, 3}, {5, 3}, {6.5f, 4.5f}, {13, 4.5f}, {13, 12}, {1, 12}}), ink);
        g.setColour(ink.brighter(0.35f));
        g.fillRect(at(1.5f, 6, 11, 0.9f));
    }
    else if (row.HasVariant("hd") || row.HasVariant("network"))
    {
        juce::Path body;
        body.addRoundedRectangle(at(1, 4, 12, 6), unit);
        outlined(body, ink);
        g.setColour(colourOf("ledGreen"));
        g.fillEllipse(at(10, 6, 1.6f, 1.6f));
        g.setColour(edge);
        g.fillRect(at(2.5f, 6.5f, 5, 1));
        if (row.HasVariant("network"))
        {
            // The cable down to a bar that joins the machines of the network.
            g.fillRect(at(6.5f, 10, 1, 2));
            g.fillRect(at(2, 12, 10, 1));
        }
    }
    else if (row.HasVariant("cd"))
    {
        juce::Path disc;
        disc.addEllipse(at(1, 1, 12, 12));
        outlined(disc, ink);
        g.setColour(ink.brighter(0.5f));
        g.drawEllipse(at(3, 3, 8, 8), line);
        g.setColour(colourOf("windowBackground"));
        g.fillEllipse(at(5.5f, 5.5f, 3, 3));
    }
    else if (row.HasVariant("floppy"))
    {
        juce::Path disk;
        disk.addRectangle(at(1.5f, 1.5f, 11, 11));
        outlined(disk, ink);
        g.setColour(edge.brighter(0.6f));
        g.fillRect(at(4, 1.5f, 6, 4)); // the shutter
        g.setColour(juce::Colours::white.withAlpha(0.85f));
        g.fillRect(at(3, 7.5f, 8, 5)); // the label
    }
    else if (row.HasVariant("usb"))
    {
        juce::Path stick;
        stick.addRoundedRectangle(at(1, 4.5f, 9, 5), unit);
        outlined(stick, ink);
        juce::Path plug;
        plug.addRectangle(at(10, 5.5f, 3, 3));
        outlined(plug, edge.brighter(0.8f));
    }
    else if (row.HasVariant("file") || row.HasVariant("text") || row.HasVariant("media"))
    {
        // A page with a folded corner; text files carry lines, media files a note.
        outlined(polygon({{2.5f, 1}, {8.5f, 1}, {11.5f, 4}, {11.5f, 13}, {2.5f, 13}}), juce::Colours::white);
        g.setColour(edge);
        g.drawLine(juce::Line<float>(at(8.5f, 1, 0, 0).getPosition(), at(8.5f, 4, 0, 0).getPosition()), line);
        g.drawLine(juce::Line<float>(at(8.5f, 4, 0, 0).getPosition(), at(11.5f, 4, 0, 0).getPosition()),
                   line);
        g.setColour(ink);
        if (row.HasVariant("text"))
        {
            for (float y : {6.0f, 8.0f, 10.0f})
                g.fillRect(at(4, y, 6, 0.8f));
        }
        else if (row.HasVariant("media"))
        {
            g.fillEllipse(at(4, 9, 3, 2.4f));
            g.fillRect(at(6.2f, 5, 0.9f, 5));
            g.fillRect(at(6.2f, 5, 3, 0.9f));
        }
    }
    else
    {
        return false;
    }
    return true;
}
