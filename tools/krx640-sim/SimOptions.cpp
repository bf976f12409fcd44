#include "SimOptions.h"

#include <cctype>
#include <cstdlib>
#include <utility>

namespace
{
bool ParseHex(std::string text, uint32_t& value)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = text.substr(2);
    if (text.empty() || text.size() > 8)
        return false;
    for (char c : text)
    {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    value = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

bool Fail(std::string& error, std::string reason)
{
    error = std::move(reason);
    return false;
}

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}
} // namespace

const char* SimOptions::Usage()
{
    return "usage: krx640-sim [--dir DIR] [--name NAME] [--mode normal|locked|slave]\n"
           "                  [--firmware-version HEX] [--meters] [--log FILE]\n"
           "                  [--fail-at STEP:N:KIND]... [--flash-dump FILE]\n"
           "Serves a simulated KRX-640 on the FIFOs DIR/NAME/PIPE00 and PIPE01 until SIGINT or SIGTERM.\n"
           "DIR defaults to $KRX640_USB_DIR, else $XDG_RUNTIME_DIR/krx640-usb, else /tmp/krx640-usb-<uid>;\n"
           "NAME to unit0. --meters sends meter readings and the display; --log records every frame "
           "received and sent.\n"
           "Command 11 restarts the unit into its bootloader. --fail-at makes the bootloader's Nth answer "
           "of\n"
           "STEP (command, header, data, verify, status) go wrong as KIND (nak, fff, wrong, silent, "
           "vanish);\n"
           "--flash-dump writes its controller flash and then its serial flash to FILE when it is left.\n";
}

bool SimOptions::Parse(int argc, const char* const* argv, std::string& error)
{
    for (int i = 1; i < argc; ++i)
    {
        std::string option = argv[i];
        std::string value;
        bool hasValue = false;
        if (const size_t equals = option.find('='); option.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = option.substr(equals + 1);
            option.resize(equals);
            hasValue = true;
        }
        const bool takesValue = option == "--dir" || option == "--name" || option == "--mode" ||
                                option == "--firmware-version" || option == "--log" ||
                                option == "--fail-at" || option == "--flash-dump";
        if (takesValue && !hasValue)
        {
            if (i + 1 >= argc)
                return Fail(error, option + " needs a value");
            value = argv[++i];
        }

        if (option == "--help" || option == "-h")
            helpRequested = true;
        else if (option == "--meters" && !hasValue)
            meters = true;
        else if (option == "--dir")
        {
            if (value.empty())
                return Fail(error, "--dir needs a folder");
            deviceFolder = value;
        }
        else if (option == "--name")
        {
            if (!IsPlainName(value))
                return Fail(error, "--name must be a plain folder name, not \"" + value + "\"");
            unitName = value;
        }
        else if (option == "--mode")
        {
            if (value == "normal")
                mode = SimUnitMode::normal;
            else if (value == "locked")
                mode = SimUnitMode::locked;
            else if (value == "slave")
                mode = SimUnitMode::slave;
            else
                return Fail(error, "--mode must be normal, locked or slave, not \"" + value + "\"");
        }
        else if (option == "--firmware-version")
        {
            if (!ParseHex(value, firmwareVersion))
                return Fail(error, "--firmware-version needs up to eight hex digits, not \"" + value + "\"");
        }
        else if (option == "--log")
        {
            if (value.empty())
                return Fail(error, "--log needs a file");
            logPath = value;
        }
        else if (option == "--fail-at")
        {
            SimFlashFault fault;
            if (!SimFlashFault::Parse(value, fault, error))
                return false;
            faults.push_back(fault);
        }
        else if (option == "--flash-dump")
        {
            if (value.empty())
                return Fail(error, "--flash-dump needs a file");
            flashDumpPath = value;
        }
        else
            return Fail(error, "unknown option \"" + std::string(argv[i]) + "\"");
    }
    return true;
}
