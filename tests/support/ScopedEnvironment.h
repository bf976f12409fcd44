#pragma once

#include <cstdlib>
#include <optional>
#include <string>

/** Sets (or with no value, unsets) an environment variable for the scope of the object and puts
    the old value back afterwards. */
class ScopedEnvironment final
{
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name(name)
    {
        if (const char* old = std::getenv(name))
            saved = old;
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(saved); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void Apply(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

    std::string name;
    std::optional<std::string> saved;
};
