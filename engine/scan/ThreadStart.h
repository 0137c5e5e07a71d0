#pragma once
// How the run starts its worker threads (the scan's read-ahead, the writing's decider and writer).
// The run's options carry it, so that a test can make a start fail as the system does when it has no
// room for another thread, without a branch in the threads' own code.
#include <functional>
#include <thread>
#include <utility>

// Starts work on a new thread; throws std::system_error when the system cannot start one.
using ThreadStart = std::function<std::thread(std::function<void()> work)>;

inline std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }
