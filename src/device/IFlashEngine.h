#pragma once

class CFCPipeUSB;

/** The bootloader's flash engine as the link's pump thread sees it. While the link is in flash mode
    the pump calls RunFlashJob once per turn instead of its frame reads and writes (the unit then
    speaks raw bootloader bytes, so nothing passes the frame splitter). The engine is not owned by
    the link and must outlive its registration. */
class IFlashEngine
{
public:
    virtual ~IFlashEngine() = default;

    /** One engine step on the pump thread: runs the whole posted job, if any, on the open pipes. */
    virtual void RunFlashJob(CFCPipeUSB& pipe) = 0;
    /** True while no job is posted; any thread. */
    virtual bool IsFlashJobIdle() const = 0;
};
