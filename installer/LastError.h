#pragma once

#include <cstdint>

/** The calling thread's last error, as the setup services report it: set by a service that
    fails, read by the caller right after. Per thread, so needs no lock. */
class LastError final
{
public:
    static uint32_t Get();
    static void Set(uint32_t code);

    LastError() = delete;
};
