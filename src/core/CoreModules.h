#pragma once

/** The ordered list of the core's modules, each with an init and an exit operation, that the
    application's core start-up initialises and its exit sequence ends. Code that needs process-wide
    set-up registers a module before start-up. Thread-safe (one internal lock; the operations run
    while it is held, so they must not call these functions). */

struct XCoreModule
{
    const char* name;
    void (*init)(); // may be null
    void (*exit)(); // may be null
};

/** Appends a module; the name is not copied and must live as long as the list. */
void AddCoreModule(const XCoreModule& module);
/** Runs every module's init in list order, once: later calls do nothing until RunModuleExits. */
void RunModuleInits();
/** Only after the inits ran: runs every module's exit in list order and re-arms the inits. */
void RunModuleExits();
/** Discards the list (the modules are not ended). */
void FreeModuleList();
/** Number of registered modules. */
int CountCoreModules();
