#pragma once

#include "core/XKeyPress.h"
#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <vector>

class XCommand;

/** The key map of one command context: an ordered list of mappings, each tying one command (not
    owned) to the key presses that run it. A command keeps at most one key press through
    AddKeyPress; a key press leads to at most one command of the set.

    Commands must outlive their mappings or be removed with RemoveMappings first. Not locked: the
    command manager guards its sets. */
class XKeyPressMappingSet
{
public:
    /** One command's entry. The value and the three flag bits are stored for the creator. */
    struct Mapping
    {
        XCommand* command = nullptr;
        XString name;
        XString keyText;
        int32_t value = 0;
        uint8_t flagBits = 0;
        std::vector<XKeyPress> keyPresses;
    };

    XKeyPressMappingSet() = default;
    /** Copies every mapping with its key presses. */
    XKeyPressMappingSet(const XKeyPressMappingSet& other);
    XKeyPressMappingSet& operator=(const XKeyPressMappingSet&) = delete;

    /** Replaces every mapping of the command by a new one with no key presses, appended. Null
        does nothing. flagBits: bits 0 to 2. */
    void AddMapping(XCommand* command, const XString& name, const XString& keyText, int32_t value,
                    uint8_t flagBits);
    /** Removes every mapping of the command. */
    void RemoveMappings(const XCommand* command);
    /** Empties the key list of the command's last mapping. */
    void ClearCommandKeys(const XCommand* command);
    /** Binds keyPress to the command: nothing when it already leads there; otherwise it is taken
        from every mapping, and (code not 0, command mapped) it becomes the only key of the
        command's last mapping and the command's shortcut text becomes its text. */
    void AddKeyPress(XCommand* command, const XKeyPress& keyPress);
    /** Removes every equal key press from every mapping. A command left without a key press has
        its shortcut text cleared, so that no menu shows a key that no longer runs it. */
    void RemoveKeyPress(const XKeyPress& keyPress);
    /** The command of the last mapping (searching back to front, each key list back to front)
        with an equal key press; null when none or the code is 0. */
    XCommand* FindCommandForKey(const XKeyPress& keyPress) const;
    /** Rebinds the command from its hot-key text: clears its keys and adds the parsed press. */
    void UpdateCommandMapping(XCommand* command);

    int GetMappingCount() const { return static_cast<int>(mappings.size()); }
    const Mapping* GetMapping(int index) const;

private:
    Mapping* FindLastMapping(const XCommand* command);

    std::vector<std::unique_ptr<Mapping>> mappings;
};
