#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace halvera {

// How often the windows look whether the scanner thread has answered.
inline constexpr std::chrono::milliseconds kScannerPollInterval{20};

// Calls `done` on the window thread with the result of `future` once it is
// there, or with nothing when `timeout` passes first (or the work failed).
// The window thread never waits: a timer owned by `context` looks now and
// then, so nothing is called once `context` is gone.
template <class Result>
void WhenReady(QObject* context, std::future<Result> future, std::chrono::milliseconds timeout,
               std::function<void(std::optional<Result>)> done) {
    auto* timer = new QTimer(context);
    auto pending = std::make_shared<std::future<Result>>(std::move(future));
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    QObject::connect(timer, &QTimer::timeout, context, [timer, pending, deadline, done] {
        const bool ready = pending->wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        if (!ready && std::chrono::steady_clock::now() < deadline)
            return;
        // Stopped first: `done` may open a modal window with its own event loop.
        timer->stop();
        timer->deleteLater();
        std::optional<Result> result;
        if (ready) {
            try {
                result = pending->get();
            } catch (...) {
            }
        }
        done(std::move(result));
    });
    timer->start(kScannerPollInterval);
}

} // namespace halvera
