#pragma once

#include "core/XString.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"

#include <memory>
#include <vector>

/** Input A, input B, outputs 1..6, then their compare twins, under the application's names and in
    its order; while they live the channel lists find them by index. Built and destroyed on the
    test's thread. */
struct ChannelSet
{
    static constexpr int kInputs = 2;
    static constexpr int kOutputs = 6;

    ChannelSet()
    {
        inputs.push_back(std::make_unique<ChannelInput>("InputA"));
        inputs.push_back(std::make_unique<ChannelInput>("InputB"));
        for (int n = 1; n <= kOutputs; ++n)
            outputs.push_back(std::make_unique<ChannelOutput>(Name("Output%d", n)));
        for (int n = 1; n <= kInputs; ++n)
            compareInputs.push_back(
                std::make_unique<CompareChannelInput>(Name("CompreInputChannel%d", n), n - 1));
        for (int n = 1; n <= kOutputs; ++n)
            compareOutputs.push_back(
                std::make_unique<CompareChannelOutput>(Name("CompreOutputChannel%d", n), n - 1));
    }

    static XString Name(const char* format, int number)
    {
        XString name;
        name.Format(format, number);
        return name;
    }

    std::vector<std::unique_ptr<ChannelInput>> inputs;
    std::vector<std::unique_ptr<ChannelOutput>> outputs;
    std::vector<std::unique_ptr<CompareChannelInput>> compareInputs;
    std::vector<std::unique_ptr<CompareChannelOutput>> compareOutputs;
};
