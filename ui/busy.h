#pragma once
// A window's long piece of work (a task, a send): while it runs, a second start is refused and
// a close waits for it. The mark is a scope, so it is cleared however the work ends, also by
// an unexpected failure.

namespace quilvane::ui {

class Busy {
public:
    class Scope {
    public:
        explicit Scope(Busy& busy) : busy_(busy) { busy_.running_ = true; }
        ~Scope() { busy_.running_ = false; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Busy& busy_;
    };

    bool Running() const { return running_; }
    // True when the window may close now; otherwise the close is remembered for the end.
    bool MayCloseNow() {
        closeWhenDone_ = running_;
        return !running_;
    }
    // After the work: whether a close came while it ran.
    bool CloseWasDeferred() const { return closeWhenDone_; }

private:
    bool running_ = false;
    bool closeWhenDone_ = false;
};

}  // namespace quilvane::ui
