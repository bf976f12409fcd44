#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

class ChannelInput;
class ChannelOutput;
class CompareChannelInput;
class CompareChannelOutput;

/** One of the four program-wide lists of channel groups (live inputs, compare inputs, live outputs,
    compare outputs): a group appends itself when it is built, so its index is its order of
    construction, and leaves its place empty when it is destroyed (trailing empty places are
    dropped, so the list ends empty once every group has gone). The list does not own the groups.
    Any thread may read it; the groups are built and destroyed on the main thread. */
template <typename Group> class ChannelList final
{
public:
    /** Appends group; returns its index. */
    int32_t Append(Group* group)
    {
        std::lock_guard<std::mutex> hold(lock);
        groups.push_back(group);
        return static_cast<int32_t>(groups.size()) - 1;
    }
    /** Empties the place of group. */
    void Remove(const Group* group)
    {
        std::lock_guard<std::mutex> hold(lock);
        for (Group*& entry : groups)
            if (entry == group)
                entry = nullptr;
        while (!groups.empty() && groups.back() == nullptr)
            groups.pop_back();
    }
    /** The group at index; null for a negative index, one not below the count or an empty place. */
    Group* At(int32_t index) const
    {
        std::lock_guard<std::mutex> hold(lock);
        if (index < 0 || index >= static_cast<int32_t>(groups.size()))
            return nullptr;
        return groups[static_cast<size_t>(index)];
    }
    int32_t Count() const
    {
        std::lock_guard<std::mutex> hold(lock);
        return static_cast<int32_t>(groups.size());
    }

private:
    mutable std::mutex lock; // guards groups
    std::vector<Group*> groups;
};

/** The four lists. */
namespace ChannelLists
{
ChannelList<ChannelInput>& Inputs();
ChannelList<CompareChannelInput>& CompareInputs();
ChannelList<ChannelOutput>& Outputs();
ChannelList<CompareChannelOutput>& CompareOutputs();
} // namespace ChannelLists

/** The live input at index (0 = A, 1 = B); null outside the list. */
ChannelInput* GetInputChannel(int32_t index);
/** The compare twin of input index; null outside the list. */
CompareChannelInput* GetCompareInputChannel(int32_t index);
/** The live output at index (0..5); null outside the list. */
ChannelOutput* GetOutputChannel(int32_t index);
/** The compare twin of output index; null outside the list. */
CompareChannelOutput* GetCompareOutputChannel(int32_t index);
