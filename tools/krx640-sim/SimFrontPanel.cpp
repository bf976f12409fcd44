#include "SimFrontPanel.h"

#include "SimWireTable.h"
#include "core/XMath.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr int kRowBytes = SimFrontPanel::kDisplayWidth / 8; // 24
constexpr int kRowsPerBlock = 2;
constexpr int kBlockCount = SimFrontPanel::kDisplayHeight / kRowsPerBlock; // 17

constexpr int kDirtyMarkX = 185;
constexpr int kDirtyMarkRows[] = {2, 3};
constexpr int kLabelY = 4;
constexpr int kNameY = 20;
constexpr int kTextX = 2;
constexpr int kGlyphScale = 2;
constexpr int kGlyphAdvance = 4 * kGlyphScale; // three columns and a gap

// Meter ranges of the unit (dB, except the DSP load, a fraction).
constexpr float kInputMeterFloor = -69.0f;
constexpr float kOutputMeterFloor = -96.0f;
constexpr float kGainReductionFloor = -30.0f;
constexpr float kLimiterKneeDb = -10.0f;

/** A 3 x 5 pixel glyph: five rows of three bits, bit 2 leftmost. */
struct Glyph
{
    char character;
    uint8_t rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'-', {0, 0, 7, 0, 0}}, {'+', {0, 2, 7, 2, 0}}, {'/', {1, 1, 2, 4, 4}}, {'?', {6, 1, 2, 0, 2}},
    {'.', {0, 0, 0, 0, 2}},
};

const Glyph* FindGlyph(char c)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& glyph : kGlyphs)
    {
        if (glyph.character == upper)
            return &glyph;
    }
    return nullptr; // drawn as a blank
}

/** A smooth wave between low and high with the given period and phase. */
float Wave(uint32_t tick, float periodMs, float phase, float low, float high)
{
    const float cycle = std::fmod(static_cast<float>(tick), periodMs) / periodMs;
    return low + (high - low) * 0.5f * (1.0f + std::sin(XMath::kTwoPiFloat * cycle + phase));
}

SimFrame MeterFrame(int wireId, float value, uint8_t flags)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    SimFrame frame;
    frame.command = SimCommand::kValue;
    SimPayloadWriter(frame.payload).U16(static_cast<uint16_t>(wireId)).U8(1).U32(bits).U8(flags);
    return frame;
}
} // namespace

SimFrontPanel::SimFrontPanel(bool slaveUnit) : slave(slaveUnit) {}

void SimFrontPanel::AppendMeterFrames(uint32_t tick, SimParameterStore& values,
                                      std::vector<SimFrame>& out) const
{
    const uint8_t flags = slave ? SimWireFlag::kSlaveMeter : 0;
    auto send = [&](int wireId, float value)
    {
        values.SetFloat(wireId, value);
        out.push_back(MeterFrame(wireId, value, flags));
    };

    for (int input = 0; input < SimWireTable::kInputCount; ++input)
        send(SimWireTable::InputId(input, SimWireTable::kInputMeterOffset),
             Wave(tick, 1900.0f, 1.3f * input, kInputMeterFloor, -3.0f));
    for (int output = 0; output < SimWireTable::kOutputCount; ++output)
    {
        const float level =
            Wave(tick, 1500.0f + 170.0f * output, 0.9f * output, kOutputMeterFloor + 30.0f, 0.0f);
        send(SimWireTable::OutputId(output, SimWireTable::kOutputMeterOffset), level);
        send(SimWireTable::OutputId(output, SimWireTable::kGainReductionOffset),
             std::max(kGainReductionFloor, std::min(0.0f, kLimiterKneeDb - level)));
    }
    send(SimWireTable::kDspLoad, Wave(tick, 4000.0f, 0.0f, 0.25f, 0.4f));
}

void SimFrontPanel::SetPixel(Picture& picture, int x, int y)
{
    if (x < 0 || x >= kDisplayWidth || y < 0 || y >= kDisplayHeight)
        return;
    picture[static_cast<size_t>(y * kRowBytes + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

void SimFrontPanel::DrawText(Picture& picture, const std::string& text, int x, int y)
{
    for (char c : text)
    {
        if (const Glyph* glyph = FindGlyph(c))
        {
            for (int row = 0; row < 5; ++row)
                for (int column = 0; column < 3; ++column)
                    if (glyph->rows[row] & (4 >> column))
                        for (int dy = 0; dy < kGlyphScale; ++dy)
                            for (int dx = 0; dx < kGlyphScale; ++dx)
                                SetPixel(picture, x + column * kGlyphScale + dx, y + row * kGlyphScale + dy);
        }
        x += kGlyphAdvance;
    }
}

void SimFrontPanel::AppendDisplayFrames(int currentPreset, const std::string& name, bool dirty,
                                        std::vector<SimFrame>& out) const
{
    Picture picture(static_cast<size_t>(kRowBytes * kDisplayHeight), 0);
    char label[16];
    if (currentPreset > 20)
        std::snprintf(label, sizeof label, "F%02d", currentPreset - 20);
    else
        std::snprintf(label, sizeof label, "U%02d", currentPreset);
    DrawText(picture, label, kTextX, kLabelY);
    DrawText(picture, name, kTextX, kNameY);
    if (dirty)
    {
        for (int row : kDirtyMarkRows)
            SetPixel(picture, kDirtyMarkX, row);
    }

    static constexpr uint8_t kUnused = 0;
    for (int block = 0; block < kBlockCount; ++block)
    {
        SimFrame frame;
        frame.command = SimCommand::kDisplay;
        SimPayloadWriter(frame.payload)
            .U8(static_cast<uint8_t>(block))
            .U8(kBlockCount - 1)
            .U8(kUnused)
            .U8(kUnused)
            .U8(kRowBytes)
            .U8(kRowsPerBlock);
        const auto first = picture.begin() + block * kRowsPerBlock * kRowBytes;
        frame.payload.insert(frame.payload.end(), first, first + kRowsPerBlock * kRowBytes);
        out.push_back(frame);
    }
}
