#pragma once

#include <functional>

namespace tavolen::platform {

// Alt+Shift at the S key position, system-wide, whichever window has the focus.
class GlobalHotKey {
public:
    virtual ~GlobalHotKey() = default;
    // Takes the key combination and from then on queues one call of `onPress`
    // on the GUI thread per press. A combination another program holds is
    // left to it, silently.
    virtual void start(std::function<void()> onPress) = 0;
};

} // namespace tavolen::platform
