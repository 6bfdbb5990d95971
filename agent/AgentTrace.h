// An optional trace of the agent's start-up decisions and of the platform
// calls behind them, which otherwise leave no mark another process could see
// (whether the message filter was touched, whether the mutex was made). Off
// unless the environment variable KESTREL_AGENT_TRACE names a file; the agent
// then appends one line per event, prefixed with its process id. Tracing
// never changes what the agent does.
#pragma once

#include <windows.h>

class CAgentTrace {
public:
    static constexpr const char* kVariable = "KESTREL_AGENT_TRACE";

    static void Write(const char* format, ...) __attribute__((format(printf, 1, 2)));
};
