#pragma once

namespace q93 {

// What the pages ask of the window that holds the sheet: the clock buttons of the Realtime
// clock page, and saving the current node when the Settings page is left.
class PageOwner {
public:
    virtual ~PageOwner() = default;
    virtual void WriteClock() = 0;
    virtual void ReadClock() = 0;
    // Writes the selected node's file; called after the Settings page stored successfully.
    virtual void SaveCurrentNode() = 0;
};

}  // namespace q93
