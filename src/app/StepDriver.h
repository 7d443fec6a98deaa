// StepDriver: runs a StepTask (StepTask.h) over the game's steps. It owns
// the outermost task and is what the loop calls: Advance() before each step
// lets the tasks run up to their next wait and says whether a step is due.
// The tasks run only inside Advance, on the caller's thread, so they read and
// change the game only between steps. Destroying the driver destroys every
// task frame still suspended, without running it on.
#pragma once

#include <coroutine>
#include <cstdint>
#include <exception>
#include <utility>

#include "app/StepTask.h"

namespace mirefell
{

class StepDriver
{
public:
    // What `co_await driver.Steps(n)` waits on: the task is suspended until n
    // steps have run (none for n <= 0).
    struct StepWait
    {
        StepDriver& driver;
        int32_t count;

        bool await_ready() const noexcept { return count <= 0; }
        void await_suspend(std::coroutine_handle<> waiting) noexcept
        {
            driver.waiting = waiting;
            driver.stepsLeft = count;
        }
        void await_resume() const noexcept {}
    };

    StepWait Steps(int32_t count) { return {*this, count}; }

    // The outermost task; it starts at the next Advance.
    void Start(StepTask task)
    {
        outermost = std::move(task);
        waiting = {};
        stepsLeft = 0;
    }
    // Before each step: true when a step is due (the tasks wait for it),
    // false once the outermost task has ended (or none was started).
    // Rethrows what a task threw.
    bool Advance()
    {
        if (!outermost.handle || outermost.handle.done())
            return false;
        if (stepsLeft > 1) {
            --stepsLeft; // one of the awaited steps has run, more are due
            return true;
        }
        const std::coroutine_handle<> next = waiting ? waiting : outermost.handle;
        waiting = {};
        stepsLeft = 0;
        next.resume();
        if (!outermost.handle.done())
            return true;
        if (outermost.handle.promise().error)
            std::rethrow_exception(outermost.handle.promise().error);
        return false;
    }
    // The outermost task's result once it has ended.
    bool Result() const { return outermost.handle && outermost.handle.done() && outermost.handle.promise().result; }

private:
    StepTask outermost{StepTask::Handle{}};
    std::coroutine_handle<> waiting; // the innermost task, suspended in Steps
    int32_t stepsLeft = 0;           // of the steps it waits for, counting the one due
};

} // namespace mirefell
