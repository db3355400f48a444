// What a long loop reports: its length once, then one step per unit done (a row written or
// deleted, an entry exported). Windows show it on a progress bar; the store tool shows none.
// It sits with the store, the layer that the loops that report it (book, exchange, album) and
// the skin that shows it all reach, so they reach it without reaching each other.
#pragma once

namespace store {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void begin(int maximum) = 0;
    virtual void step() = 0;
    // The loop waits for work done on another thread; a window answers input meanwhile.
    virtual void idle() {}
};

class NoProgress : public Progress {
public:
    void begin(int) override {}
    void step() override {}
};

} // namespace store
