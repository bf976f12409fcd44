#pragma once

#include "SkinManifest.h"

#include <functional>
#include <juce_graphics/juce_graphics.h>

/** Draws the pictures of the unit's front panel (the manifest's "device" kinds): the unit's
    brushed-aluminium face with its printed captions and recessed sections, LEDs, LED columns,
    fader tracks and caps, name plates, readout fields, rubber buttons and display text.

        device.panel                      the unit's face, laid out as the front panel places its
                                          views: display window, input meters, USB LED, six strips
        device.led[.small].on|off         a round LED (a small one is a rectangular bar)
        device.meter.on|off               a column of LEDs, green, then amber, then red upwards
        device.fader.track                a fader slot with its scale
        device.fader.knob[.focus|.disabled]
        device.plate                      a white name plate in a dark frame
        device.field                      a dark readout field
        device.button[.lit|.disabled]     a rubber push button with the row's caption
        device.display                    the row's caption lit on the display

    The accent colours an LED, a lit LED column or a lit button. Not thread-safe. */
class DevicePainter final
{
public:
    /** The colour of a colour-table name (the caller records names the table lacks). */
    using ColourOf = std::function<juce::Colour(const juce::String& name)>;

    DevicePainter(ColourOf colourOf, juce::String typeface);

    /** Draws the row's picture; false when the kind names no device picture. */
    bool Paint(juce::Graphics& g, const SkinImageRow& row);

private:
    juce::Colour Accent(const SkinImageRow& row, const char* fallback) const;
    void Print(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& text, float height,
               bool bold, juce::Justification justification = juce::Justification::centred) const;
    /** A section pressed into the face: a little darker, shaded on its upper and left edges. */
    void Recess(juce::Graphics& g, juce::Rectangle<float> area) const;
    /** A dark frame of two pixels round the inside colour. */
    void Framed(juce::Graphics& g, juce::Rectangle<float> area, juce::Colour inside) const;
    void Lamp(juce::Graphics& g, juce::Rectangle<float> lamp, juce::Colour colour, bool on, bool round) const;

    void Panel(juce::Graphics& g, const SkinImageRow& row) const;
    void Led(juce::Graphics& g, const SkinImageRow& row) const;
    void Meter(juce::Graphics& g, const SkinImageRow& row) const;
    void FaderTrack(juce::Graphics& g, const SkinImageRow& row) const;
    void FaderKnob(juce::Graphics& g, const SkinImageRow& row) const;
    void Plate(juce::Graphics& g, const SkinImageRow& row) const;
    void Field(juce::Graphics& g, const SkinImageRow& row) const;
    void Button(juce::Graphics& g, const SkinImageRow& row) const;
    void Display(juce::Graphics& g, const SkinImageRow& row) const;

    ColourOf colourOf;
    juce::String typeface;
};
