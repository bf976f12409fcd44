#include "DevicePainter.h"

#include <utility>

namespace
{
/** The face's layout: where the front panel puts its views, and the captions printed round them. */
const juce::Rectangle<float> kDisplayWindow(149.0f, 50.0f, 326.0f, 76.0f);
constexpr float kDisplayBezel = 8.0f;
const juce::Rectangle<float> kInputSection(56.0f, 3.0f, 80.0f, 144.0f);
/** The LED columns of inputs A and B (the meters' LEDs sit at the columns' inner edges). */
constexpr float kInputColumnA = 82.0f;
constexpr float kInputColumnB = 96.0f;
constexpr float kInputColumnWidth = 12.0f;
const juce::Rectangle<float> kUsbLed(10.0f, 80.0f, 12.0f, 12.0f);
const juce::Rectangle<float> kFirstStrip(494.0f, 3.0f, 84.0f, 141.0f);
constexpr float kStripStep = 85.0f;
constexpr int kStripCount = 6;

constexpr float kLogoHeight = 27.0f;
constexpr float kPrintHeight = 10.5f;
constexpr float kSmallPrintHeight = 9.0f;
constexpr float kCorner = 3.0f;

/** Meter columns: LEDs this wide or wider are round, spaced one slot apart; narrower ones are bars. */
constexpr float kRoundLedMinWidth = 14.0f;
constexpr float kRoundLedSlot = 14.0f;
constexpr float kBarSlot = 5.0f;
/** Shares of a column lit green, then amber, then red. */
constexpr float kAmberFrom = 0.7f;
constexpr float kRedFrom = 0.88f;

juce::Rectangle<float> AreaOf(const SkinImageRow& row)
{
    return {0.0f, 0.0f, static_cast<float>(row.width), static_cast<float>(row.height)};
}
} // namespace

DevicePainter::DevicePainter(ColourOf colour, juce::String face)
    : colourOf(std::move(colour)), typeface(std::move(face))
{
}

bool DevicePainter::Paint(juce::Graphics& g, const SkinImageRow& row)
{
    using Draw = void (DevicePainter::*)(juce::Graphics&, const SkinImageRow&) const;
    struct Kind
    {
        const char* variant;
        Draw draw;
    };
    static const Kind kinds[] = {
        {"panel", &DevicePainter::Panel},     {"led", &DevicePainter::Led},
        {"meter", &DevicePainter::Meter},     {"track", &DevicePainter::FaderTrack},
        {"knob", &DevicePainter::FaderKnob},  {"plate", &DevicePainter::Plate},
        {"field", &DevicePainter::Field},     {"button", &DevicePainter::Button},
        {"display", &DevicePainter::Display},
    };
    for (const Kind& kind : kinds)
    {
        if (row.HasVariant(kind.variant))
        {
            (this->*kind.draw)(g, row);
            return true;
        }
    }
    return false;
}

juce::Colour DevicePainter::Accent(const SkinImageRow& row, const char* fallback) const
{
    return colourOf(row.accent.isNotEmpty() ? row.accent : juce::String(fallback));
}

void DevicePainter::Print(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& text,
                          float height, bool bold, juce::Justification justification) const
{
    g.setColour(colourOf("devicePrint"));
    g.setFont(juce::Font(typeface, height, bold ? juce::Font::bold : juce::Font::plain));
    g.drawText(text, area, justification, false);
}

void DevicePainter::Recess(juce::Graphics& g, juce::Rectangle<float> area) const
{
    g.setColour(colourOf("deviceSection"));
    g.fillRoundedRectangle(area, kCorner);
    g.setColour(colourOf("deviceEdge").withAlpha(0.55f));
    g.fillRect(area.withHeight(1.0f).reduced(kCorner, 0.0f));
    g.fillRect(area.withWidth(1.0f).reduced(0.0f, kCorner));
    g.setColour(juce::Colours::white.withAlpha(0.6f));
    g.fillRect(area.withTop(area.getBottom() - 1.0f).reduced(kCorner, 0.0f));
    g.fillRect(area.withLeft(area.getRight() - 1.0f).reduced(0.0f, kCorner));
}

void DevicePainter::Lamp(juce::Graphics& g, juce::Rectangle<float> lamp, juce::Colour colour, bool on,
                         bool round) const
{
    const float corner = round ? lamp.getHeight() / 2.0f : 1.5f;
    // The bezel: a dark ring round the lens.
    g.setColour(colourOf("deviceBezel"));
    g.fillRoundedRectangle(lamp, corner);
    const juce::Rectangle<float> lens = lamp.reduced(1.0f);
    const float lensCorner = round ? lens.getHeight() / 2.0f : 1.0f;
    if (on)
    {
        g.setGradientFill(juce::ColourGradient(colour.brighter(0.9f), lens.getCentreX(),
                                               lens.getY() + lens.getHeight() * 0.35f, colour, lens.getX(),
                                               lens.getBottom(), true));
    }
    else
    {
        const juce::Colour dark = colour.interpolatedWith(colourOf("ledOff"), 0.78f);
        g.setGradientFill(juce::ColourGradient(dark.brighter(0.25f), lens.getCentreX(), lens.getY(), dark,
                                               lens.getCentreX(), lens.getBottom(), false));
    }
    g.fillRoundedRectangle(lens, lensCorner);
    // A small reflection on the lens.
    g.setColour(juce::Colours::white.withAlpha(on ? 0.55f : 0.18f));
    g.fillEllipse(lens.getX() + lens.getWidth() * 0.25f, lens.getY() + lens.getHeight() * 0.15f,
                  lens.getWidth() * 0.3f, lens.getHeight() * 0.25f);
}

void DevicePainter::Panel(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    const juce::Colour face = colourOf("deviceFace");
    g.setGradientFill(juce::ColourGradient(face.brighter(0.06f), 0.0f, 0.0f, face.darker(0.08f), 0.0f,
                                           area.getBottom(), false));
    g.fillRect(area);
    // Brushed metal: faint hairlines, lighter and darker, the same on every run.
    juce::Random grain(640);
    for (int y = 0; y < row.height; ++y)
    {
        const float strength = grain.nextFloat() * 0.07f;
        g.setColour((grain.nextBool() ? juce::Colours::white : juce::Colours::black).withAlpha(strength));
        g.fillRect(0.0f, static_cast<float>(y), area.getWidth(), 1.0f);
    }
    g.setColour(juce::Colours::white.withAlpha(0.7f));
    g.fillRect(area.withHeight(1.0f).withY(1.0f));
    g.setColour(colourOf("deviceEdge"));
    g.drawRect(area, 1.0f);
    g.setColour(colourOf("deviceEdge").withAlpha(0.45f));
    g.fillRect(area.withTop(area.getBottom() - 2.0f).withHeight(1.0f));

    // Maker's line above the display, the unit's outline below it.
    const float displayRight = kDisplayWindow.getRight();
    Print(g, {kDisplayWindow.getX(), 8.0f, 170.0f, kLogoHeight + 4.0f}, "KRX-640", kLogoHeight, true,
          juce::Justification::centredLeft);
    Print(g, {displayRight - 190.0f, 22.0f, 190.0f, 14.0f}, "LOUDSPEAKER MANAGEMENT SYSTEM", kPrintHeight,
          false, juce::Justification::centredRight);
    Print(g,
          {kDisplayWindow.getX(), kDisplayWindow.getBottom() + kDisplayBezel + 1.0f,
           kDisplayWindow.getWidth(), 12.0f},
          juce::String::fromUTF8("2 INPUTS  \xc2\xb7  6 OUTPUTS  \xc2\xb7  USB"), kSmallPrintHeight, false);

    // The display window in its bezel.
    const juce::Rectangle<float> bezel = kDisplayWindow.expanded(kDisplayBezel);
    g.setColour(colourOf("deviceBezel"));
    g.fillRoundedRectangle(bezel, kCorner + 1.0f);
    g.setColour(juce::Colours::white.withAlpha(0.5f));
    g.drawRoundedRectangle(bezel.expanded(0.5f), kCorner + 1.5f, 1.0f);
    g.setColour(colourOf("lcdBack"));
    g.fillRect(kDisplayWindow);

    // The input meters' section, its caption and the names of its two columns.
    Recess(g, kInputSection);
    Print(g, kInputSection.withHeight(13.0f).withY(5.0f), "INPUT", kPrintHeight, true);
    Print(g, {kInputColumnA, 16.0f, kInputColumnWidth, 11.0f}, "A", kPrintHeight, true);
    Print(g, {kInputColumnB, 16.0f, kInputColumnWidth, 11.0f}, "B", kPrintHeight, true);

    // The USB LED, dark until the indicator's picture lights it.
    Print(g, {kUsbLed.getCentreX() - 16.0f, kUsbLed.getY() - 14.0f, 32.0f, 12.0f}, "USB", kPrintHeight, true);
    Lamp(g, kUsbLed, colourOf("usbLed"), false, true);

    // The output strips.
    for (int strip = 0; strip < kStripCount; ++strip)
        Recess(g, kFirstStrip.translated(kStripStep * strip, 0.0f));
}

void DevicePainter::Led(juce::Graphics& g, const SkinImageRow& row) const
{
    const bool small = row.HasVariant("small");
    juce::Rectangle<float> lamp = AreaOf(row);
    if (small)
        lamp = lamp.reduced(0.0f, 1.0f);
    else
    {
        const float side = std::min(lamp.getWidth(), lamp.getHeight());
        lamp = lamp.withSizeKeepingCentre(side, side);
    }
    Lamp(g, lamp, Accent(row, "ledGreen"), row.HasVariant("on"), !small);
}

void DevicePainter::Meter(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    const bool round = area.getWidth() >= kRoundLedMinWidth;
    const float slot = round ? kRoundLedSlot : kBarSlot;
    const int count = std::max(1, static_cast<int>(area.getHeight() / slot));
    const bool on = row.HasVariant("on");
    for (int led = 0; led < count; ++led)
    {
        const float share = (led + 1.0f) / count;
        const juce::Colour colour = colourOf(share > kRedFrom     ? "ledRed"
                                             : share > kAmberFrom ? "ledAmber"
                                                                  : "ledGreen");
        // LED 0 at the bottom.
        const float top = area.getBottom() - (led + 1) * slot;
        juce::Rectangle<float> lamp(0.0f, top + 1.0f, area.getWidth(), slot - 1.0f);
        if (round)
            lamp = lamp.withSizeKeepingCentre(slot - 2.0f, slot - 2.0f);
        Lamp(g, lamp, colour, on, round);
    }
}

void DevicePainter::FaderTrack(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    constexpr int kTicks = 11;
    constexpr float kTickLength = 7.0f;
    constexpr float kSlotWidth = 4.0f;
    constexpr float kEnds = 6.0f;
    const juce::Colour print = colourOf("devicePrint");
    for (int tick = 0; tick < kTicks; ++tick)
    {
        const float y = kEnds + (area.getHeight() - 2.0f * kEnds) * tick / (kTicks - 1);
        // The unity mark and the ends are drawn longer.
        const bool major = tick == 0 || tick == kTicks - 1 || tick == 3;
        const float length = major ? kTickLength + 2.0f : kTickLength;
        g.setColour(print.withAlpha(major ? 0.9f : 0.55f));
        g.fillRect(1.0f, y, length, 1.0f);
        g.fillRect(area.getRight() - 1.0f - length, y, length, 1.0f);
    }
    const juce::Rectangle<float> slot = area.withSizeKeepingCentre(kSlotWidth, area.getHeight() - kEnds);
    g.setColour(colourOf("deviceBezel"));
    g.fillRoundedRectangle(slot, kSlotWidth / 2.0f);
    g.setColour(juce::Colours::white.withAlpha(0.5f));
    g.fillRect(slot.withLeft(slot.getRight()).withWidth(1.0f).reduced(0.0f, 2.0f));
}

void DevicePainter::FaderKnob(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    const bool disabled = row.HasVariant("disabled");
    const bool focus = row.HasVariant("focus");
    const juce::Rectangle<float> cap = area.reduced(3.0f, 1.0f);
    const juce::Colour body =
        disabled ? colourOf("deviceSection").darker(0.25f) : colourOf("deviceBezel").brighter(0.5f);
    g.setColour(colourOf("deviceBezel").withAlpha(0.35f));
    g.fillRoundedRectangle(cap.translated(0.0f, 1.0f), 2.0f);
    g.setGradientFill(juce::ColourGradient(body.brighter(0.35f), 0.0f, cap.getY(), body.darker(0.3f), 0.0f,
                                           cap.getBottom(), false));
    g.fillRoundedRectangle(cap, 2.0f);
    // Grip ridges either side of the line, and the line that marks the value.
    g.setColour(juce::Colours::black.withAlpha(disabled ? 0.12f : 0.3f));
    g.fillRect(cap.withSizeKeepingCentre(cap.getWidth() - 4.0f, 1.0f).translated(0.0f, -3.0f));
    g.fillRect(cap.withSizeKeepingCentre(cap.getWidth() - 4.0f, 1.0f).translated(0.0f, 3.0f));
    const juce::Colour line = focus      ? Accent(row, "buttonLit")
                              : disabled ? colourOf("deviceSection")
                                         : juce::Colours::white;
    g.setColour(line);
    g.fillRect(cap.withSizeKeepingCentre(cap.getWidth() - 2.0f, 2.0f));
    if (focus)
        g.drawRoundedRectangle(cap.expanded(0.5f), 2.5f, 1.0f);
}

void DevicePainter::Framed(juce::Graphics& g, juce::Rectangle<float> area, juce::Colour inside) const
{
    g.setColour(colourOf("deviceBezel"));
    g.fillRoundedRectangle(area, 2.0f);
    g.setColour(inside);
    g.fillRect(area.reduced(2.0f));
}

void DevicePainter::Plate(juce::Graphics& g, const SkinImageRow& row) const
{
    Framed(g, AreaOf(row), colourOf("deviceLabelBack"));
}

void DevicePainter::Field(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    Framed(g, area, colourOf("widgetBack"));
    // The face's light catches the field's rim.
    g.setColour(juce::Colours::white.withAlpha(0.45f));
    g.drawRoundedRectangle(area.reduced(0.5f), 2.0f, 1.0f);
}

void DevicePainter::Button(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    const bool lit = row.HasVariant("lit");
    const bool disabled = row.HasVariant("disabled");
    juce::Colour face = colourOf("deviceBezel").brighter(0.35f);
    juce::Colour text = colourOf("deviceLabelBack").darker(0.1f);
    if (lit)
    {
        face = Accent(row, "ledRed");
        text = juce::Colours::white;
    }
    else if (disabled)
    {
        face = colourOf("deviceSection").darker(0.2f);
        text = colourOf("deviceSection").brighter(0.1f);
    }
    const juce::Rectangle<float> key = area.reduced(1.0f);
    g.setColour(colourOf("deviceEdge"));
    g.fillRoundedRectangle(area, kCorner);
    g.setGradientFill(juce::ColourGradient(face.brighter(lit ? 0.45f : 0.2f), 0.0f, key.getY(),
                                           face.darker(0.2f), 0.0f, key.getBottom(), false));
    g.fillRoundedRectangle(key, kCorner - 1.0f);
    g.setColour(text);
    g.setFont(juce::Font(typeface, std::min(kPrintHeight, area.getHeight() * 0.55f), juce::Font::bold));
    g.drawText(row.label, key, juce::Justification::centred, false);
}

void DevicePainter::Display(juce::Graphics& g, const SkinImageRow& row) const
{
    const juce::Rectangle<float> area = AreaOf(row);
    g.setColour(colourOf("lcdBack"));
    g.fillRect(area);
    g.setColour(colourOf("lcdLit"));
    g.setFont(juce::Font(typeface, area.getHeight() * 0.7f, juce::Font::bold));
    g.drawText(row.label, area, juce::Justification::centred, false);
}
