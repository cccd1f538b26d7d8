#pragma once

// Where an error that a command could not handle goes. The toolkit does not
// carry exceptions through signal-slot connections or the event loop, so
// every command connected to a signal runs Guarded: what it throws is caught
// at that boundary and shown by the one reporter the application installs
// (a message box in the window, stderr on the command line).

#include <QString>

#include <exception>
#include <functional>
#include <string_view>
#include <utility>

// The text of an exception message. Core code speaks GBK and desktop code
// UTF-8; running out of memory is said in Chinese.
QString ExceptionMessageText(std::string_view what);
QString ExceptionMessageText(const std::exception& error);

// Shows text as the one error display does; without a reporter installed it
// goes to stderr.
void ReportErrorText(const QString& text);
void SetErrorReporter(std::function<void(const QString& text)> reporter);

// Reports the exception being handled (call inside a catch block).
void ReportCurrentException();

// A callable that runs f and reports what it throws instead of letting it
// escape into the toolkit. Its call takes exactly the arguments f takes, so
// that a connection to a signal with more arguments drops the extra ones.
template <class F> struct TGuarded {
    F Fn;
    template <class... A>
    auto operator()(A&&... args) const
        -> decltype(std::declval<const F&>()(std::forward<A>(args)...), void()) {
        try {
            Fn(std::forward<A>(args)...);
        } catch (...) {
            ReportCurrentException();
        }
    }
};

template <class F> TGuarded<F> Guarded(F f) {
    return TGuarded<F>{std::move(f)};
}
