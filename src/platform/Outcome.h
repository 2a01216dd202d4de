#pragma once
// Operations that may have to ask the user report their outcome through a callback: the
// question's answer arrives later (the control loop keeps running meanwhile) and the
// operation goes on from there. OutcomeOf lets such an operation also answer at once when
// every question was answered before it returned, as the command line and the scripted
// prompter do, so callers that need the result straight away still have it.
//
//   return platform::OutcomeOf(Result::Asking, std::move(done), [&](platform::Done<Result> finish) {
//       prompter.ConfirmThen("Replace … ?", [finish](bool yes) { finish(yes ? Go() : Result::Cancelled); });
//   });

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace chordella::platform {

template <typename T>
using Done = std::function<void(T)>;

// Runs `run` with a `finish` callback that hands the outcome to `done` (when set). Answers the
// outcome when `finish` ran before `run` returned, `pending` while a question is still open.
// Control thread.
template <typename T, typename Run>
T OutcomeOf(T pending, Done<T> done, Run&& run) {
    auto outcome = std::make_shared<std::optional<T>>();
    std::forward<Run>(run)(Done<T>([outcome, done = std::move(done)](T value) {
        *outcome = value;
        if (done) done(std::move(value));
    }));
    return outcome->has_value() ? **outcome : pending;
}

}  // namespace chordella::platform
