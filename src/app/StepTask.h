// StepTask: a coroutine that acts over game steps, for code that plays the
// game as a player does (the RouteWalker): it sets the input of a step, waits
// for steps to run with `co_await driver.Steps(n)`, reads what they did, and
// goes on, written as one straight sequence even though the game's own loop
// runs the steps. A task may await another (`co_await WalkTo(...)`), which
// runs within it and gives its result; every task ends with true or false.
//
// A task waits for steps through its StepDriver (StepDriver.h), which runs
// it. A task destroyed while suspended destroys the tasks it awaits.
#pragma once

#include <coroutine>
#include <cstdint>
#include <exception>
#include <utility>

namespace mirefell
{

class StepTask
{
public:
    struct promise_type
    {
        bool result = false;
        std::exception_ptr error;
        std::coroutine_handle<> continuation; // the task awaiting this one; null for the outermost

        StepTask get_return_object() { return StepTask(Handle::from_promise(*this)); }
        // Runs only when awaited or advanced.
        std::suspend_always initial_suspend() noexcept { return {}; }
        // Hands control back to the awaiting task (nothing for the outermost).
        auto final_suspend() noexcept
        {
            struct ToContinuation
            {
                bool await_ready() noexcept { return false; }
                std::coroutine_handle<> await_suspend(std::coroutine_handle<promise_type> done) noexcept
                {
                    const std::coroutine_handle<> next = done.promise().continuation;
                    return next ? next : std::noop_coroutine();
                }
                void await_resume() noexcept {}
            };
            return ToContinuation{};
        }
        void unhandled_exception() { error = std::current_exception(); }
        void return_value(bool value) { result = value; }
    };
    using Handle = std::coroutine_handle<promise_type>;

    StepTask(StepTask&& other) noexcept : handle(std::exchange(other.handle, {})) {}
    StepTask& operator=(StepTask other) noexcept
    {
        std::swap(handle, other.handle);
        return *this;
    }
    ~StepTask()
    {
        if (handle)
            handle.destroy();
    }

    // Awaiting a task starts it; the awaiting task goes on with its result
    // (or its exception) when it ends.
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept
    {
        handle.promise().continuation = awaiting;
        return handle;
    }
    bool await_resume() const
    {
        if (handle.promise().error)
            std::rethrow_exception(handle.promise().error);
        return handle.promise().result;
    }

private:
    friend class StepDriver;
    explicit StepTask(Handle handle_) : handle(handle_) {}

    Handle handle;
};

} // namespace mirefell
