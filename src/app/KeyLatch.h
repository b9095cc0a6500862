#pragma once

// A scene's edge latch: a key press acts once. Acting closes the latch; only
// a frame on which none of the scene's keys is down opens it again, so a key
// held down acts on its first frame alone.
class KeyLatch {
public:
    // True, closing the latch, when it was open: the press may act.
    bool Take()
    {
        if (closed)
            return false;
        closed = true;
        return true;
    }
    bool Closed() const { return closed; }
    // After an action taken without asking, as a scene that acts on its own timing does.
    void Close() { closed = true; }
    // On a frame with none of the scene's keys down.
    void Open() { closed = false; }

private:
    bool closed = false;
};
