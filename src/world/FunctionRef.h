// FunctionRef: a non-owning reference to a callable, for the visitors that
// the world's queries call synchronously and never keep. Unlike
// std::function it never allocates, whatever the callable captures, so the
// fixed-step update can query as often as it likes. The referenced callable
// must outlive the call it is passed to; never store a FunctionRef.
//
// An empty reference (default-made or from nullptr) throws
// std::bad_function_call when called, like an empty std::function; a query
// that finds nothing to visit never calls it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace mirefell
{

template <class Signature> class FunctionRef;

template <class R, class... Args> class FunctionRef<R(Args...)>
{
public:
    FunctionRef() = default;
    FunctionRef(std::nullptr_t) {}

    // A plain function, a pointer to one, or a lambda without captures is
    // referred to by its address, so a temporary one may be passed; any
    // other callable by the address of the object.
    template <class F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, FunctionRef> && std::is_invocable_r_v<R, F&, Args...>)
        FunctionRef(F&& callable)
    {
        using Function = R (*)(Args...);
        if constexpr (std::is_convertible_v<F, Function>) {
            const Function function = callable;
            if (!function)
                return;
            target.function = reinterpret_cast<void (*)()>(function);
            call = [](Target t, Args... args) -> R {
                return reinterpret_cast<Function>(t.function)(std::forward<Args>(args)...);
            };
        } else {
            target.object = const_cast<void*>(static_cast<const void*>(std::addressof(callable)));
            call = [](Target t, Args... args) -> R {
                return std::invoke(*static_cast<std::remove_reference_t<F>*>(t.object), std::forward<Args>(args)...);
            };
        }
    }

    R operator()(Args... args) const
    {
        if (!call)
            throw std::bad_function_call();
        return call(target, std::forward<Args>(args)...);
    }

    explicit operator bool() const { return call != nullptr; }

private:
    union Target {
        void* object = nullptr;
        void (*function)();
    };
    Target target;
    R (*call)(Target, Args...) = nullptr;
};

} // namespace mirefell
