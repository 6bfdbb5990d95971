// What the agent's end-to-end tests share: the stand-ins' state file and the
// agent's trace file of this test process, starting the agent, finding its
// window, and reading the call log in a short form that compares well.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/Sim.h"

namespace AgentE2E {

// The stand-ins' block reset to its defaults and the trace emptied: the
// start of every test.
void ResetAll();

// Starts KestrelServ with the arguments exactly as given.
bool StartAgent(Sim::CProcess& agent, const std::wstring& arguments = L"execute");
// The agent's window ("#32770" titled "KestrelServ") of one process; the wait
// returns it once the window has been initialised.
HWND FindAgentWindowOf(DWORD processId);
HWND WaitForAgentWindow(const Sim::CProcess& agent, DWORD timeoutMs = 10000);
// The GetTickCount at which the process was seen to end, 0 on timeout.
DWORD WaitForExitTick(Sim::CProcess& agent, DWORD timeoutMs);

// Lines the agent wrote to its trace, without the process id.
std::vector<std::string> TraceOf(DWORD processId);
bool TraceHas(const std::vector<std::string>& trace, const std::string& start);

// The calls one process made, after a sequence number.
std::vector<Sim::Call> CallsOf(DWORD processId, uint32_t afterSequence = 0);
// "K32 2", "SDK 2 C -> 1", "K32 6 -> \"CG\"", "K32 5 \"CG\" -> 1",
// "K32 4 0 -> C", "K32 4 2 -> 0", "SDK 3 C -> 1".
std::string Brief(const Sim::Call& call);
std::vector<std::string> Brief(const std::vector<Sim::Call>& calls);
bool IsCall(const Sim::Call& call, Sim::Library library, int32_t entry);

// Registered messages the main window received, by name, after a sequence.
std::vector<Sim::ReceivedMessage> Received(const char* name, uint32_t afterSequence = 0);
// The highest sequence number given so far (calls and messages).
uint32_t LastSequence();

// Waits, dispatching this thread's messages, until GetTickCount reaches tick.
void WaitUntilTick(DWORD tick);

}  // namespace AgentE2E
