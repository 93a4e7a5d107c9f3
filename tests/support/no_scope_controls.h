// Oscilloscope controls that do nothing, for driving the sweep on the real page window
// directly (GUI tests and the bench), with the page's own timer idle.
#pragma once

#include "pages/scope/scope.h"

namespace kestos::test {

class NoScopeControls final : public ScopeControls {
    void setCursorCaption(const char*) override {}
    void setCursorChecked(bool) override {}
    void showCursorBar(bool) override {}
    void setCursorBarRange(int, int) override {}
    int cursorBarPosition() const override { return cursorFirst; }
};

} // namespace kestos::test
