#pragma once
/// \file
/// \brief The common operation frame: every record operation of the class runs its steps under
/// one of three error traps.

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "runtime/RuntimeError.h"

namespace quillet {

/// \brief The three trap kinds.
enum class Trap {
    /// A failing step is skipped; the next step runs against whatever the failed one left.
    ContinueOnError,
    /// The first failing step ends the body; the operation resumes at its closing check.
    JumpToCheck,
    /// The first failure ends the operation and reaches the caller.
    Untrapped,
};

/// \brief The error last recorded, the way the classic error object holds it.
struct ErrObject {
    int Number = 0;
    std::string Description;
};

/// \brief Shows trapped failures to the user, each different description once: a second failure
/// with the same cause (the store that still cannot be opened) adds no second box. Frames given
/// one show their failures through it.
class FailureReport {
public:
    explicit FailureReport(std::function<void(const std::string&)> show)
        : m_show(std::move(show)) {}

    /// Shows the description unless it was shown before.
    void show(const std::string& description) {
        if (m_shown.insert(description).second && m_show) {
            m_show(description);
        }
    }

private:
    std::function<void(const std::string&)> m_show;
    std::set<std::string> m_shown;
};

/// \brief When a frame given a FailureReport shows a trapped failure.
enum class ShowFailure {
    /// As soon as it is trapped.
    AtTrap,
    /// At the frame's closing check (closingCheck()), once the work the failure interrupted has
    /// been wound up (an open transaction ended, so no box waits while the store is locked).
    AtCheck,
};

/// \brief Runs an operation's steps under its trap. Reading an operation shows its kind at once:
///
///     OperationFrame frame(Trap::JumpToCheck);
///     frame.step([&] { connectx(); });
///     frame.step([&] { run(str); });
///     if (frame.failed()) { ... closing check ... }
///
/// Only RuntimeError is trapped; anything else is a programming error and reaches the caller.
class OperationFrame {
public:
    explicit OperationFrame(Trap kind) : m_kind(kind) {}
    /// A frame that shows its trapped failures through report, each different one once.
    OperationFrame(Trap kind, FailureReport& report, ShowFailure when)
        : m_kind(kind), m_report(&report), m_when(when) {}

    Trap kind() const { return m_kind; }

    /// Runs one step under the trap. Returns true when the step ran to its end.
    template <class Step>
    bool step(Step&& body) {
        if (m_kind == Trap::Untrapped) {
            std::forward<Step>(body)();
            return true;
        }
        if (m_kind == Trap::JumpToCheck && m_jumped) {
            return false;
        }
        try {
            std::forward<Step>(body)();
            return true;
        } catch (const RuntimeError& e) {
            record(e);
            m_jumped = m_kind == Trap::JumpToCheck;
            if (m_report != nullptr && m_when == ShowFailure::AtTrap) {
                m_report->show(e.description());
            }
            return false;
        }
    }

    /// \brief The closing check: true when a step failed and was trapped. A frame that shows its
    /// failures at the check shows the recorded one now.
    bool closingCheck() {
        if (failed() && m_report != nullptr && m_when == ShowFailure::AtCheck) {
            m_report->show(m_err.Description);
        }
        return failed();
    }

    /// True when a step failed and was trapped: the closing check's test.
    bool failed() const { return m_err.Number != 0; }
    /// True when a jump-to-check frame has left its body.
    bool jumped() const { return m_jumped; }
    const ErrObject& err() const { return m_err; }
    /// The first failure trapped since the frame began or was cleared (err() holds the last).
    const ErrObject& firstErr() const { return m_first; }
    /// Forgets the recorded error (Err.Clear).
    void clear() {
        m_err = {};
        m_first = {};
    }

private:
    void record(const RuntimeError& e) {
        m_err.Number = e.number();
        m_err.Description = e.description();
        if (m_first.Number == 0) {
            m_first = m_err;
        }
    }

    Trap m_kind;
    FailureReport* m_report = nullptr;
    ShowFailure m_when = ShowFailure::AtTrap;
    ErrObject m_err;
    ErrObject m_first;
    bool m_jumped = false;
};

}  // namespace quillet
