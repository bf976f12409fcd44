#include "windows/FPModel.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XStringConversion.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "windows/ListBoxButtonComponent.h"

namespace
{
constexpr const char* kInputPrefix = "Input";
/** The input's letter follows "Input" in a path. */
constexpr int kInputLetterAt = 5;
constexpr int kTextInset = 2;

juce::Colour SkinColour(const char* name)
{
    return GetColorDictionary().GetColor(name).ToColour();
}
} // namespace

std::unique_ptr<juce::TableListBox> FPModel::MakeTable(FPModel& model, const XRect& frame)
{
    auto table = std::make_unique<juce::TableListBox>(kTableName, &model);
    table->setColour(juce::ListBox::backgroundColourId, SkinColour("listBack"));
    table->setOutlineThickness(0);
    table->setRowHeight(kRowHeight);
    table->setHeaderHeight(0);
    table->setBounds(frame.left, frame.top, frame.Width(), frame.Height());
    model.SetTable(table.get());
    return table;
}

void FPModel::AddColumn(juce::TableListBox& table, const char* title, int columnId, int width)
{
    const bool button = columnId == kColumnVisible || columnId == kColumnLocked || columnId == kColumnLink;
    if (button)
        table.getHeader().addColumn(title, columnId, kButtonColumnWidth, kButtonColumnMinMax,
                                    kButtonColumnMinMax);
    else
        table.getHeader().addColumn(title, columnId, width, kTextColumnMin);
}

void FPModel::UpdateTable()
{
    if (table != nullptr)
        table->updateContent();
}

void FPModel::paintRowBackground(juce::Graphics& g, int /*row*/, int /*width*/, int /*height*/, bool selected)
{
    g.fillAll(SkinColour(selected ? "listRowSelected" : "listRowBack"));
}

juce::Component* FPModel::refreshComponentForCell(int row, int columnId, bool /*selected*/,
                                                  juce::Component* existing)
{
    return CellButton(row, columnId, existing);
}

ListBoxButtonComponent* FPModel::CellButton(int row, int columnId, juce::Component* existing)
{
    const char* onImage = nullptr;
    switch (columnId)
    {
    case kColumnVisible:
        onImage = kVisibleImage;
        break;
    case kColumnLocked:
        onImage = kLockImage;
        break;
    case kColumnLink:
        onImage = kLinkImage;
        break;
    default:
        // The table hands over a component it no longer needs: ours to delete.
        delete existing;
        return nullptr;
    }
    auto* button = dynamic_cast<ListBoxButtonComponent*>(existing);
    if (button != nullptr && button->GetColumnId() == columnId)
    {
        button->SetRow(row);
        return button;
    }
    delete existing;
    return new ListBoxButtonComponent(this, columnId, row, kBlankImage, onImage);
}

void FPModel::PaintCellText(juce::Graphics& g, const XString& text, int width, int height, bool selected)
{
    XFont* font = XFont::GetNamedFont("listText", true);
    if (font == nullptr)
        return;
    g.setColour(SkinColour(selected ? "listRowTextSelected" : "listRowText"));
    g.setFont(font->GetJuceFont());
    g.drawText(ToJuceString(text), kTextInset, 0, width - 2 * kTextInset, height,
               juce::Justification::centredLeft, true);
}

XString FPModel::ChannelText(const XParam* param)
{
    if (param == nullptr)
        return XString();
    const juce::String path = ToJuceString(param->GetFullPath());
    juce::String channel = path.upToFirstOccurrenceOf("\\", false, false);
    if (channel.length() > 1)
        channel = channel.dropLastCharacters(1) + " " + channel.getLastCharacter();
    return ToXString(channel);
}

XParam* FPModel::OtherInputParam(const XParam* param)
{
    if (param == nullptr)
        return nullptr;
    const XString path = param->GetFullPath();
    if (!path.StartsWith(kInputPrefix) || path.Length() <= kInputLetterAt)
        return nullptr;
    const int other = path.CStr()[kInputLetterAt] == 'A' ? 1 : 0;
    ChannelInput* input = GetInputChannel(other);
    return input != nullptr ? input->GetParam(param->GetId()) : nullptr;
}
