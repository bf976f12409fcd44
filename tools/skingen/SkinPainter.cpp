#include "SkinPainter.h"

#include "DevicePainter.h"
#include "FileIconPainter.h"

#include <cmath>

namespace
{
constexpr float kCorner = 2.5f;
constexpr float kCaptionHeight = 13.0f;
/** A caption placed at a point gets this many times its text height as its line. */
constexpr float kCaptionLineShare = 1.4f;
constexpr float kPotSweepDegrees = 270.0f;
/** Meter segments light green up to this share of the scale, amber up to the next, red above. */
constexpr float kMeterAmberFrom = 0.7f;
constexpr float kMeterRedFrom = 0.9f;
const juce::Colour kMissingColour(0xFFFF00FF);

/** Share of the area's shorter side that an arrow triangle spans. */
constexpr float kArrowShare = 0.42f;
constexpr float kIconArrowShare = 0.9f;

/** A filled triangle in the middle of area pointing up, down, left or right. */
void Triangle(juce::Graphics& g, juce::Rectangle<float> area, char direction, juce::Colour colour,
              float share = kArrowShare)
{
    const float side = std::min(area.getWidth(), area.getHeight()) * share;
    const juce::Point<float> c = area.getCentre();
    juce::Path path;
    switch (direction)
    {
    case 'u':
        path.addTriangle(c.x - side / 2, c.y + side / 4, c.x + side / 2, c.y + side / 4, c.x, c.y - side / 3);
        break;
    case 'd':
        path.addTriangle(c.x - side / 2, c.y - side / 4, c.x + side / 2, c.y - side / 4, c.x, c.y + side / 3);
        break;
    case 'l':
        path.addTriangle(c.x + side / 4, c.y - side / 2, c.x + side / 4, c.y + side / 2, c.x - side / 3, c.y);
        break;
    default:
        path.addTriangle(c.x - side / 4, c.y - side / 2, c.x - side / 4, c.y + side / 2, c.x + side / 3, c.y);
        break;
    }
    g.setColour(colour);
    g.fillPath(path);
}

/** The first of the direction words the row's kind carries, as 'u', 'd', 'l' or 'r' ('r' when none). */
char DirectionOf(const SkinImageRow& row)
{
    if (row.HasVariant("up") || row.HasVariant("top"))
        return 'u';
    if (row.HasVariant("down") || row.HasVariant("bottom"))
        return 'd';
    if (row.HasVariant("left"))
        return 'l';
    return 'r';
}
} // namespace

const SkinPainter::Family SkinPainter::kFamilies[] = {
    {"back", &SkinPainter::DrawBack},       {"button", &SkinPainter::DrawButton},
    {"led", &SkinPainter::DrawLed},         {"fader", &SkinPainter::DrawFader},
    {"pot", &SkinPainter::DrawPot},         {"dropdown", &SkinPainter::DrawDropDown},
    {"spinner", &SkinPainter::DrawSpinner}, {"check", &SkinPainter::DrawCheck},
    {"radio", &SkinPainter::DrawCheck},     {"tab", &SkinPainter::DrawTab},
    {"tile", &SkinPainter::DrawTile},       {"title", &SkinPainter::DrawTitle},
    {"scroll", &SkinPainter::DrawScroll},   {"meter", &SkinPainter::DrawMeter},
    {"icon", &SkinPainter::DrawIcon},       {"device", &SkinPainter::DrawDevice},
    {"fileicon", &SkinPainter::DrawFile},
};

SkinPainter::SkinPainter(ColourLookup colourLookup) : lookup(std::move(colourLookup)) {}

juce::StringArray SkinPainter::GetFamilies()
{
    juce::StringArray names;
    for (const Family& family : kFamilies)
        names.add(family.name);
    return names;
}

juce::String SkinPainter::CaptionTypeface()
{
    static const juce::String typeface = []
    {
        const juce::StringArray installed = juce::Font::findAllTypefaceNames();
        for (const char* candidate : {"Liberation Sans", "DejaVu Sans"})
        {
            if (installed.contains(candidate))
                return juce::String(candidate);
        }
        return juce::Font::getDefaultSansSerifFontName();
    }();
    return typeface;
}

bool SkinPainter::Paint(const SkinImageRow& row, int frame, juce::Image& picture, juce::String& error)
{
    const juce::String family = row.Family();
    Draw draw = nullptr;
    for (const Family& known : kFamilies)
    {
        if (family == known.name)
            draw = known.draw;
    }
    if (draw == nullptr)
    {
        error = "unknown kind " + row.kind + " (families: " + GetFamilies().joinIntoString(", ") + ")";
        return false;
    }
    missingColours.clear();
    unknownKind.clear();
    picture = juce::Image(row.alpha ? juce::Image::ARGB : juce::Image::RGB, row.width, row.height, true,
                          juce::SoftwareImageType());
    {
        juce::Graphics g(picture);
        if (!row.alpha)
            g.fillAll(Named("windowBackground"));
        (this->*draw)(g, row, frame);
        DrawCaptions(g, row);
    }
    if (unknownKind.isNotEmpty())
    {
        error = "unknown kind " + unknownKind;
        return false;
    }
    if (!missingColours.isEmpty())
    {
        error = "the colour table lacks " + missingColours.joinIntoString(", ");
        return false;
    }
    return true;
}

juce::Colour SkinPainter::Named(const juce::String& name)
{
    juce::Colour colour;
    if (lookup && lookup(name, colour))
        return colour;
    missingColours.addIfNotAlreadyThere(name);
    return kMissingColour;
}

juce::Colour SkinPainter::Accent(const SkinImageRow& row, const char* fallback)
{
    return Named(row.accent.isNotEmpty() ? row.accent : juce::String(fallback));
}

void SkinPainter::Face(juce::Graphics& g, juce::Rectangle<float> area, juce::Colour base, float corner,
                       bool sunken)
{
    const juce::Rectangle<float> inner = area.reduced(0.5f);
    juce::Colour top = base.brighter(0.12f);
    juce::Colour bottom = base.darker(0.18f);
    if (sunken)
        std::swap(top, bottom);
    g.setGradientFill(juce::ColourGradient(top, 0.0f, inner.getY(), bottom, 0.0f, inner.getBottom(), false));
    g.fillRoundedRectangle(inner, corner);
    g.setColour(Named("faceEdge"));
    g.drawRoundedRectangle(inner, corner, 1.0f);
}

void SkinPainter::Caption(juce::Graphics& g, juce::Rectangle<float> area, const juce::String& text,
                          juce::Colour colour, float height, juce::Justification justification)
{
    if (text.isEmpty())
        return;
    g.setColour(colour);
    g.setFont(juce::Font(CaptionTypeface(), height, juce::Font::plain));
    g.drawFittedText(text, area.toNearestInt(), justification, 1, 0.8f);
}

void SkinPainter::DrawCaptions(juce::Graphics& g, const SkinImageRow& row)
{
    for (const SkinCaption& caption : row.captions)
    {
        const float height = caption.size > 0 ? static_cast<float>(caption.size) : kCaptionHeight;
        const juce::Colour colour =
            Named(caption.colour.isNotEmpty() ? caption.colour : juce::String("windowLabel"));
        // A text placed at a point runs to the picture's right edge, one line high.
        const bool boxed = caption.width > 0;
        const juce::Rectangle<float> area(static_cast<float>(caption.x), static_cast<float>(caption.y),
                                          static_cast<float>(boxed ? caption.width : row.width - caption.x),
                                          boxed ? static_cast<float>(caption.height)
                                                : std::ceil(height * kCaptionLineShare));
        Caption(g, area, caption.text, colour, height,
                boxed ? juce::Justification::centred : juce::Justification::topLeft);
    }
}

void SkinPainter::DrawBack(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const juce::Colour base = Accent(row, "windowBackground");
    if (row.HasVariant("gradient"))
        g.setGradientFill(juce::ColourGradient(base.brighter(0.1f), 0.0f, 0.0f, base.darker(0.25f), 0.0f,
                                               area.getBottom(), false));
    else
        g.setColour(base);
    g.fillRect(area);
    if (row.HasVariant("grid"))
    {
        constexpr int kMinorStep = 10;
        constexpr int kMajorEvery = 5;
        const juce::Colour line = Named("gridLine");
        for (int x = kMinorStep, n = 1; x < row.width; x += kMinorStep, ++n)
        {
            g.setColour(n % kMajorEvery == 0 ? line.brighter(0.3f) : line);
            g.fillRect(x, 0, 1, row.height);
        }
        for (int y = kMinorStep, n = 1; y < row.height; y += kMinorStep, ++n)
        {
            g.setColour(n % kMajorEvery == 0 ? line.brighter(0.3f) : line);
            g.fillRect(0, y, row.width, 1);
        }
    }
    if (row.HasVariant("border"))
    {
        g.setColour(Named("panelEdge"));
        g.drawRect(area, 1.0f);
    }
    Caption(g, area.reduced(8.0f, 4.0f).withHeight(kCaptionHeight + 4.0f), row.label, Named("windowLabel"),
            kCaptionHeight, juce::Justification::centredLeft);
}

void SkinPainter::DrawButton(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const bool down = row.HasVariant("down");
    juce::Colour face = Named("faceBase");
    juce::Colour text = Named("buttonText");
    if (row.HasVariant("lit"))
    {
        face = Accent(row, "buttonLit");
        text = Named("buttonTextLit");
    }
    else if (row.HasVariant("dim"))
        face = Named("buttonDim");
    else if (row.HasVariant("disabled"))
    {
        face = Named("buttonDim").darker(0.3f);
        text = Named("windowTextDim");
    }
    else if (down)
        face = face.darker(0.15f);
    Face(g, area, face, kCorner, down);
    const float height = std::min(kCaptionHeight, row.height * 0.6f);
    Caption(g, area.reduced(3.0f, 1.0f).translated(down ? 1.0f : 0.0f, down ? 1.0f : 0.0f), row.label, text,
            height);
}

void SkinPainter::DrawLed(juce::Graphics& g, const SkinImageRow& row, int)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> lamp =
        juce::Rectangle<float>(side, side).withCentre({row.width / 2.0f, row.height / 2.0f}).reduced(1.0f);
    const juce::Colour colour = Accent(row, "ledGreen");
    if (row.HasVariant("on"))
    {
        g.setGradientFill(juce::ColourGradient(colour.brighter(0.6f), lamp.getCentreX() - side * 0.12f,
                                               lamp.getCentreY() - side * 0.12f, colour.darker(0.1f),
                                               lamp.getX(), lamp.getBottom(), true));
    }
    else
        g.setColour(colour.interpolatedWith(Named("ledOff"), 0.8f));
    g.fillEllipse(lamp);
    g.setColour(Named("faceEdge"));
    g.drawEllipse(lamp, 1.0f);
}

void SkinPainter::DrawFader(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const bool vertical = row.height >= row.width;
    if (row.HasVariant("thumb"))
    {
        Face(g, area, Named("faceBase").brighter(0.1f), kCorner, false);
        g.setColour(Accent(row, "windowText"));
        if (vertical || row.HasVariant("v"))
            g.fillRect(area.withSizeKeepingCentre(area.getWidth() - 6.0f, 2.0f));
        else
            g.fillRect(area.withSizeKeepingCentre(2.0f, area.getHeight() - 6.0f));
        return;
    }
    // The track: a sunken slot along the long side with tick marks either side.
    constexpr float kSlot = 4.0f;
    constexpr int kTicks = 11;
    const juce::Rectangle<float> slot = vertical ? area.withSizeKeepingCentre(kSlot, area.getHeight() - 4.0f)
                                                 : area.withSizeKeepingCentre(area.getWidth() - 4.0f, kSlot);
    g.setColour(Named("windowTextDim").withAlpha(0.6f));
    for (int tick = 0; tick < kTicks; ++tick)
    {
        const float at =
            2.0f + (vertical ? area.getHeight() - 5.0f : area.getWidth() - 5.0f) * tick / (kTicks - 1);
        if (vertical)
            g.fillRect(juce::Rectangle<float>(2.0f, at, area.getWidth() - 4.0f, 1.0f));
        else
            g.fillRect(juce::Rectangle<float>(at, 2.0f, 1.0f, area.getHeight() - 4.0f));
    }
    g.setColour(Named("widgetBack"));
    g.fillRoundedRectangle(slot, 1.5f);
    g.setColour(Named("faceEdge"));
    g.drawRoundedRectangle(slot, 1.5f, 1.0f);
}

void SkinPainter::DrawPot(juce::Graphics& g, const SkinImageRow& row, int frame)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> knob = juce::Rectangle<float>(side, side)
                                            .withCentre({row.width / 2.0f, row.height / 2.0f})
                                            .reduced(side * 0.16f);
    const float startAngle = juce::degreesToRadians(-kPotSweepDegrees / 2.0f);
    const float share = row.frames > 1 ? static_cast<float>(frame) / (row.frames - 1) : 0.0f;
    const float angle = startAngle + juce::degreesToRadians(kPotSweepDegrees) * share;
    const juce::Point<float> centre = knob.getCentre();
    const float arcRadius = side / 2.0f - 2.0f;

    juce::Path track;
    track.addCentredArc(centre.x, centre.y, arcRadius, arcRadius, 0.0f, startAngle, -startAngle, true);
    g.setColour(Named("widgetBack"));
    g.strokePath(track, juce::PathStrokeType(2.5f));
    if (share > 0.0f)
    {
        juce::Path value;
        value.addCentredArc(centre.x, centre.y, arcRadius, arcRadius, 0.0f, startAngle, angle, true);
        g.setColour(Accent(row, "buttonLit"));
        g.strokePath(value, juce::PathStrokeType(2.5f));
    }
    g.setGradientFill(juce::ColourGradient(Named("faceBase").brighter(0.25f), knob.getX(), knob.getY(),
                                           Named("faceBase").darker(0.3f), knob.getRight(), knob.getBottom(),
                                           false));
    g.fillEllipse(knob);
    g.setColour(Named("faceEdge"));
    g.drawEllipse(knob, 1.0f);
    const float inner = knob.getWidth() * 0.12f;
    const float outer = knob.getWidth() * 0.45f;
    g.setColour(Named("windowText"));
    g.drawLine(centre.x + inner * std::sin(angle), centre.y - inner * std::cos(angle),
               centre.x + outer * std::sin(angle), centre.y - outer * std::cos(angle), 2.0f);
}

void SkinPainter::DrawDropDown(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    // The veil variant lies over a drop-down that cannot be used now: its choice shows through, dimmed.
    if (row.HasVariant("veil"))
    {
        g.setColour(Named("windowBack").withAlpha(0.6f));
        g.fillRoundedRectangle(area, kCorner);
        return;
    }
    const float arrowWidth = std::min(area.getHeight(), 18.0f);
    // The field variant is light, for windows whose drop-downs draw dark text.
    const bool field = row.HasVariant("field");
    Face(g, area, Named(field ? "fieldBack" : "widgetBack"), kCorner, true);
    g.setColour(Named("faceEdge"));
    g.fillRect(juce::Rectangle<float>(area.getRight() - arrowWidth, 2.0f, 1.0f, area.getHeight() - 4.0f));
    Triangle(g, area.withLeft(area.getRight() - arrowWidth), 'd',
             Accent(row, field ? "fieldText" : "widgetText"));
    Caption(g, area.withTrimmedRight(arrowWidth).reduced(5.0f, 1.0f), row.label,
            Named(field ? "fieldText" : "widgetText"), std::min(kCaptionHeight, row.height * 0.6f),
            juce::Justification::centredLeft);
}

void SkinPainter::DrawSpinner(juce::Graphics& g, const SkinImageRow& row, int frame)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    if (row.HasVariant("updown"))
    {
        DrawUpDown(g, row, frame);
        return;
    }
    const bool lit = row.HasVariant("lit");
    Face(g, area, lit ? Accent(row, "buttonLit") : Named("faceBase"), kCorner, lit);
    const bool plus = row.HasVariant("right") || row.HasVariant("up");
    const float arm = std::min(area.getWidth(), area.getHeight()) * 0.22f;
    const juce::Point<float> c = area.getCentre();
    g.setColour(Named(lit ? "buttonTextLit" : "buttonText"));
    g.fillRect(juce::Rectangle<float>(c.x - arm, c.y - 1.0f, 2.0f * arm, 2.0f));
    if (plus)
        g.fillRect(juce::Rectangle<float>(c.x - 1.0f, c.y - arm, 2.0f, 2.0f * arm));
}

void SkinPainter::DrawUpDown(juce::Graphics& g, const SkinImageRow& row, int)
{
    // Two halves, an up arrow over a down arrow; "up" or "down" shows that half pressed.
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    Face(g, area, Named("faceBase"), kCorner, false);
    juce::Rectangle<float> upper = area.withHeight(area.getHeight() / 2.0f);
    juce::Rectangle<float> lower = area.withTrimmedTop(area.getHeight() / 2.0f);
    const bool upPressed = row.HasVariant("up");
    const bool downPressed = row.HasVariant("down");
    if (upPressed || downPressed)
    {
        const juce::Rectangle<float> pressed = (upPressed ? upper : lower).reduced(1.0f);
        g.setColour(Accent(row, "buttonLit"));
        g.fillRect(pressed);
    }
    g.setColour(Named("faceEdge"));
    g.fillRect(juce::Rectangle<float>(1.0f, upper.getBottom() - 0.5f, area.getWidth() - 2.0f, 1.0f));
    const float arrowShare = 0.8f;
    Triangle(g, upper.translated(0.0f, 0.5f), 'u', Named(upPressed ? "buttonTextLit" : "buttonText"),
             arrowShare);
    Triangle(g, lower.translated(0.0f, -0.5f), 'd', Named(downPressed ? "buttonTextLit" : "buttonText"),
             arrowShare);
}

void SkinPainter::DrawCheck(juce::Graphics& g, const SkinImageRow& row, int)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> box =
        juce::Rectangle<float>(side, side).withCentre({row.width / 2.0f, row.height / 2.0f}).reduced(0.5f);
    const bool radio = row.Family() == "radio";
    const bool pressed = row.HasVariant("pressed");
    const juce::Colour fill = pressed ? Named("widgetBack").brighter(0.2f) : Named("widgetBack");
    g.setColour(fill);
    radio ? g.fillEllipse(box) : g.fillRoundedRectangle(box, 2.0f);
    g.setColour(Named("panelEdge").brighter(0.2f));
    radio ? g.drawEllipse(box, 1.0f) : g.drawRoundedRectangle(box, 2.0f, 1.0f);
    if (!row.HasVariant("lit") && !pressed)
        return;
    const juce::Colour mark = pressed ? Accent(row, "buttonLit").darker(0.3f) : Accent(row, "buttonLit");
    g.setColour(mark);
    if (radio)
    {
        g.fillEllipse(box.reduced(side * 0.28f));
        return;
    }
    juce::Path tick;
    tick.startNewSubPath(box.getX() + side * 0.22f, box.getY() + side * 0.52f);
    tick.lineTo(box.getX() + side * 0.42f, box.getY() + side * 0.72f);
    tick.lineTo(box.getX() + side * 0.78f, box.getY() + side * 0.28f);
    g.strokePath(tick, juce::PathStrokeType(std::max(1.5f, side * 0.14f), juce::PathStrokeType::curved,
                                            juce::PathStrokeType::rounded));
}

void SkinPainter::DrawTab(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    constexpr float kStripe = 3.0f;
    const bool on = row.HasVariant("on");
    Face(g, area.withTrimmedBottom(-kCorner), on ? Named("panelBack") : Named("panelBack").darker(0.3f),
         kCorner, false);
    if (on)
    {
        g.setColour(Accent(row, "buttonLit"));
        g.fillRect(area.reduced(1.0f, 0.0f).withTop(1.0f).withHeight(kStripe));
    }
    Caption(g, area.withTrimmedTop(kStripe), row.label, Named(on ? "windowText" : "windowTextDim"),
            std::min(kCaptionHeight, row.height * 0.6f));
}

void SkinPainter::DrawTile(juce::Graphics& g, const SkinImageRow& row, int)
{
    constexpr int kDotStep = 4;
    g.fillAll(Accent(row, "panelBack"));
    g.setColour(Named("gridLine"));
    for (int y = 0; y < row.height; y += kDotStep)
    {
        for (int x = (y / kDotStep) % 2 * (kDotStep / 2); x < row.width; x += kDotStep)
            g.fillRect(x, y, 1, 1);
    }
}

void SkinPainter::DrawTitle(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const juce::Colour base = Accent(row, "windowTitlebar");
    g.setGradientFill(juce::ColourGradient(base.brighter(0.15f), 0.0f, 0.0f, base.darker(0.1f), 0.0f,
                                           area.getBottom(), false));
    g.fillRect(area);
    g.setColour(Named("faceEdge"));
    g.fillRect(area.withTop(area.getBottom() - 1.0f));
    g.setColour(base.brighter(0.35f));
    g.fillRect(area.withHeight(1.0f));
    if (row.HasVariant("left"))
        g.fillRect(area.withWidth(1.0f));
    if (row.HasVariant("right"))
    {
        g.setColour(Named("faceEdge"));
        g.fillRect(area.withLeft(area.getRight() - 1.0f));
    }
    Caption(g, area.reduced(6.0f, 0.0f), row.label, Named("windowTitlebarText"), kCaptionHeight,
            juce::Justification::centredLeft);
}

void SkinPainter::DrawScroll(juce::Graphics& g, const SkinImageRow& row, int)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const juce::Colour back = Named("scrollbarBack");
    const juce::Colour fore = Accent(row, "scrollbarFore");
    if (row.HasVariant("arrow"))
    {
        const bool lit = row.HasVariant("lit");
        Face(g, area, lit ? fore.brighter(0.3f) : fore.darker(0.2f), 1.5f, lit);
        Triangle(g, area, DirectionOf(row), Named("windowText"));
        return;
    }
    if (row.HasVariant("track"))
    {
        g.fillAll(back);
        g.setColour(back.darker(0.4f));
        if (row.HasVariant("v"))
            g.fillRect(area.withWidth(1.0f));
        else
            g.fillRect(area.withHeight(1.0f));
        return;
    }
    g.fillAll(back);
    // Thumb pieces: the whole thumb ("thumb"), its caps ("nub" with a direction) or its middle tile.
    juce::Rectangle<float> face = area.reduced(1.0f);
    if (row.HasVariant("nub") && !row.HasVariant("mid"))
    {
        const char end = DirectionOf(row);
        const float grow = kCorner + 1.0f;
        face = end == 'u'   ? face.withTrimmedBottom(-grow)
               : end == 'd' ? face.withTrimmedTop(-grow)
               : end == 'l' ? face.withTrimmedRight(-grow)
                            : face.withTrimmedLeft(-grow);
    }
    else if (row.HasVariant("mid"))
        face = row.HasVariant("v") ? face.withTrimmedTop(-kCorner - 1.0f).withTrimmedBottom(-kCorner - 1.0f)
                                   : face.withTrimmedLeft(-kCorner - 1.0f).withTrimmedRight(-kCorner - 1.0f);
    g.saveState();
    g.reduceClipRegion(area.toNearestInt());
    Face(g, face, fore, kCorner, false);
    g.restoreState();
}

void SkinPainter::DrawMeter(juce::Graphics& g, const SkinImageRow& row, int frame)
{
    const juce::Rectangle<float> area(0.0f, 0.0f, static_cast<float>(row.width),
                                      static_cast<float>(row.height));
    const bool vertical = row.height >= row.width;
    g.fillAll(Named("widgetBack"));
    if (row.HasVariant("segment"))
    {
        g.setColour(Accent(row, "ledGreen"));
        g.fillRect(area.reduced(1.0f));
        return;
    }
    // A sequence: frame k lights the first k of (frames - 1) segments, green, then amber, then red.
    const int segments = std::max(1, row.frames - 1);
    const float length = vertical ? area.getHeight() : area.getWidth();
    const float pitch = length / segments;
    for (int segment = 0; segment < segments; ++segment)
    {
        const float share = (segment + 1.0f) / segments;
        juce::Colour colour = Named(share > kMeterRedFrom     ? "ledRed"
                                    : share > kMeterAmberFrom ? "ledAmber"
                                                              : "ledGreen");
        if (segment >= frame)
            colour = colour.interpolatedWith(Named("ledOff"), 0.82f);
        g.setColour(colour);
        const float from = segment * pitch;
        if (vertical)
            g.fillRect(juce::Rectangle<float>(1.0f, length - from - pitch + 1.0f, area.getWidth() - 2.0f,
                                              pitch - 1.0f));
        else
            g.fillRect(juce::Rectangle<float>(from + 1.0f, 1.0f, pitch - 1.0f, area.getHeight() - 2.0f));
    }
}

void SkinPainter::DrawIcon(juce::Graphics& g, const SkinImageRow& row, int)
{
    const float side = static_cast<float>(std::min(row.width, row.height));
    const juce::Rectangle<float> box = juce::Rectangle<float>(side, side)
                                           .withCentre({row.width / 2.0f, row.height / 2.0f})
                                           .reduced(side * 0.18f);
    const juce::Colour ink = Accent(row, "windowText");
    const float stroke = std::max(1.5f, side * 0.1f);
    g.setColour(ink);
    if (row.HasVariant("close"))
    {
        g.drawLine(box.getX(), box.getY(), box.getRight(), box.getBottom(), stroke);
        g.drawLine(box.getRight(), box.getY(), box.getX(), box.getBottom(), stroke);
    }
    else if (row.HasVariant("plus") || row.HasVariant("minus"))
    {
        g.drawLine(box.getX(), box.getCentreY(), box.getRight(), box.getCentreY(), stroke);
        if (row.HasVariant("plus"))
            g.drawLine(box.getCentreX(), box.getY(), box.getCentreX(), box.getBottom(), stroke);
    }
    else if (row.HasVariant("maximize"))
    {
        g.drawRect(box, stroke);
    }
    else if (row.HasVariant("minimize"))
    {
        g.drawLine(box.getX(), box.getBottom(), box.getRight(), box.getBottom(), stroke);
    }
    else if (row.HasVariant("restore"))
    {
        // Two overlapping windows.
        const float shift = box.getWidth() * 0.3f;
        const juce::Rectangle<float> front = box.withTrimmedTop(shift).withTrimmedRight(shift);
        g.drawRect(front, stroke * 0.75f);
        g.drawLine(front.getX() + shift, box.getY(), box.getRight(), box.getY(), stroke * 0.75f);
        g.drawLine(box.getRight(), box.getY(), box.getRight(), front.getBottom() - shift, stroke * 0.75f);
    }
    else if (row.HasVariant("lock"))
    {
        const juce::Rectangle<float> body = box.withTrimmedTop(box.getHeight() * 0.45f);
        g.fillRoundedRectangle(body, 1.5f);
        juce::Path shackle;
        shackle.addCentredArc(box.getCentreX(), body.getY(), box.getWidth() * 0.28f, box.getHeight() * 0.3f,
                              0.0f, -juce::MathConstants<float>::halfPi, juce::MathConstants<float>::halfPi,
                              true);
        g.strokePath(shackle, juce::PathStrokeType(stroke));
    }
    else
    {
        Triangle(g, box, DirectionOf(row), ink, kIconArrowShare);
    }
}

void SkinPainter::DrawDevice(juce::Graphics& g, const SkinImageRow& row, int)
{
    DevicePainter device([this](const juce::String& name) { return Named(name); }, CaptionTypeface());
    if (!device.Paint(g, row))
        unknownKind = row.kind;
}

void SkinPainter::DrawFile(juce::Graphics& g, const SkinImageRow& row, int)
{
    FileIconPainter icons([this](const juce::String& name) { return Named(name); });
    if (!icons.Paint(g, row))
        unknownKind = row.kind;
}
