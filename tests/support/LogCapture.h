#pragma once

#include "core/ILog.h"
#include "core/Log.h"
#include "support/TestSupport.h"

#include <fstream>
#include <sstream>
#include <string>

/** Makes a fresh log file in a temporary folder the application log while it lives, so that a test
    can read what the code under test logged; at its end the program has no application log again.
    For test programs that link the core library. */
class LogCapture final
{
public:
    LogCapture() { SetAppLog(OpenLogFile(folder.Child("log.txt").c_str(), true)); }
    ~LogCapture() { SetAppLog(nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    /** Everything logged so far, the log's header included. */
    std::string Text() const
    {
        std::ifstream in(folder.Child("log.txt"), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    /** How many logged lines hold part. */
    int CountLinesWith(const std::string& part) const
    {
        std::istringstream lines(Text());
        int count = 0;
        for (std::string line; std::getline(lines, line);)
            count += line.find(part) != std::string::npos ? 1 : 0;
        return count;
    }

private:
    TestSupport::TempFolder folder;
};
