// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A lazily started coroutine that an operation awaits, or that the window
// starts as the one running device operation. Destroying a Task destroys its
// suspended frame and with it every frame it is awaiting, so abandoning an
// operation is just dropping its Task.

// moc cannot parse the standard <coroutine> header; it needs none of it.
#ifndef Q_MOC_RUN
#include <coroutine>
#endif
#include <exception>
#include <optional>
#include <utility>

namespace brenk {

template <typename T>
class Task;

namespace detail {

struct PromiseBase {
    std::coroutine_handle<> continuazione;
    std::exception_ptr errore;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() const noexcept { return false; }
        template <typename P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> h) noexcept
        {
            auto c = h.promise().continuazione;
            return c ? c : std::noop_coroutine();
        }
        void await_resume() const noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { errore = std::current_exception(); }
    void rilancia() const
    {
        if (errore)
            std::rethrow_exception(errore);
    }
};

template <typename T>
struct Promise : PromiseBase {
    std::optional<T> valore;
    Task<T> get_return_object() noexcept;
    void return_value(T v) { valore = std::move(v); }
    T risultato()
    {
        rilancia();
        return std::move(*valore);
    }
};

template <>
struct Promise<void> : PromiseBase {
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
    void risultato() const { rilancia(); }
};

} // namespace detail

template <typename T = void>
class [[nodiscard]] Task {
public:
    using promise_type = detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle h) noexcept : h_(h) {}
    Task(Task&& o) noexcept : h_(std::exchange(o.h_, {})) {}
    Task& operator=(Task&& o) noexcept
    {
        if (this != &o) {
            distruggi();
            h_ = std::exchange(o.h_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { distruggi(); }

    bool finita() const noexcept { return !h_ || h_.done(); }

    // Runs the coroutine up to its first suspension; used for the operation
    // that a button starts. Nobody awaits it: its frame stays with this Task.
    void avvia()
    {
        if (h_ && !h_.done())
            h_.resume();
    }

    auto operator co_await() && noexcept
    {
        struct Awaiter {
            Handle h;
            bool await_ready() const noexcept { return !h || h.done(); }
            std::coroutine_handle<> await_suspend(std::coroutine_handle<> chi) noexcept
            {
                h.promise().continuazione = chi;
                return h;
            }
            T await_resume() { return h.promise().risultato(); }
        };
        return Awaiter{h_};
    }

private:
    void distruggi() noexcept
    {
        if (h_)
            std::exchange(h_, {}).destroy();
    }
    Handle h_;
};

namespace detail {
template <typename T>
Task<T> Promise<T>::get_return_object() noexcept
{
    return Task<T>{std::coroutine_handle<Promise<T>>::from_promise(*this)};
}
inline Task<void> Promise<void>::get_return_object() noexcept
{
    return Task<void>{std::coroutine_handle<Promise<void>>::from_promise(*this)};
}
} // namespace detail

} // namespace brenk
