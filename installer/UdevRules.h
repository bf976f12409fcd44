#pragma once

#include <cstdint>
#include <string>

/** Gives users access to a USB device through a udev rule: writes one rule file per vendor and
    product id into the rules folder (/etc/udev/rules.d, or KRX640_UDEV_RULES_DIR) and asks udev
    to reload its rules and apply them to the attached device. The program that asks is udevadm
    from the search path, or the one named by KRX640_UDEVADM (empty: none); when none is found
    the rule takes effect the next time udev starts. */
class UdevRules final
{
public:
    /** Writes the rule for these ids, replacing an earlier one whole. Returns 0 or the system's
        error number. */
    static int WriteRule(uint16_t vendorId, uint16_t productId);

    /** Reloads the rules and re-announces the device at devicePath (when not empty) so the rule
        applies now. Failures are ignored: the rule stays in place either way. */
    static void ApplyRules(const std::string& devicePath);

    static std::string RulesFolder();
    static std::string RuleFileName(uint16_t vendorId, uint16_t productId);
    static std::string RuleText(uint16_t vendorId, uint16_t productId);

    UdevRules() = delete;
};
