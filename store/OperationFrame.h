#pragma once
/// \file
/// \brief The common operation frame: every record operation of the class runs its steps under
/// one of three error traps.

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
            return false;
        }
    }

    /// True when a step failed and was trapped: the closing check's test.
    bool failed() const { return m_err.Number != 0; }
    /// True when a jump-to-check frame has left its body.
    bool jumped() const { return m_jumped; }
    const ErrObject& err() const { return m_err; }
    /// Forgets the recorded error (Err.Clear).
    void clear() { m_err = {}; }

private:
    void record(const RuntimeError& e) {
        m_err.Number = e.number();
        m_err.Description = e.description();
    }

    Trap m_kind;
    ErrObject m_err;
    bool m_jumped = false;
};

}  // namespace quillet
