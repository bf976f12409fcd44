#pragma once

class XParamGroup;

/** What the compare twins of the input and output groups share: building a twin as a copy of a
    live group, and copying values between the two. */
namespace ChannelTwinCopy
{
/** Adds to twin, in the live group's order, a parameter made from each live parameter's own
    descriptor (same class, callbacks and user words) with the same id, owned, registered at
    twinName + "\" + its name when twinName is not empty. Nothing when live is null. */
void AddCopiesOf(XParamGroup& twin, const XParamGroup* live, const char* twinName);

/** How a save into the twin treats the twin's change tracking. */
enum class SaveTracking
{
    Untouched,
    OffDuringCopy
};

/** Copies, pair by pair in parameter order until either group runs out, the twin's values and flag
    words into the live group (restore) or the live ones into the twin. A restore runs with each live
    parameter's change tracking off and without notification, so nothing counts as changed since
    and nothing is sent back to the unit; a save notifies. Text parameters are copied by their
    text. Nothing when either group is null. */
void Sync(XParamGroup* live, XParamGroup* twin, bool restore, SaveTracking saveTracking);
} // namespace ChannelTwinCopy
