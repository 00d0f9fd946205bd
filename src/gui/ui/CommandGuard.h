#pragma once

#include <functional>

namespace korvan {

// Runs one user command from an event handler: a KorvanError (and any other exception) is shown
// in the error box, an Abort ends it quietly. Qt must never see an exception leave a slot.
// Returns true when the command ran to its end.
bool runGuarded(const std::function<void()> &command);
// The same, with the clean-up of a long command (progress bar, hourglass) done before any
// message is shown, whether the command ended or failed.
bool runGuarded(const std::function<void()> &command, const std::function<void()> &cleanup);
// The hourglass of a command that switches it itself (a report takes it off while it asks the
// user something); it is gone at the latest when the object is.
class Hourglass {
public:
    Hourglass() = default;
    ~Hourglass() { show(false); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
    void show(bool on);

private:
    bool m_shown = false;
};

// The same under the hourglass, which is gone (and the clean-up done) before any message shows.
bool runBusy(const std::function<void()> &command, const std::function<void()> &cleanup = {});

} // namespace korvan
