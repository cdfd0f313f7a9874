// How a window runs the wizard's procedures: a click reaches its procedure only while the
// model's button is enabled, and a failure inside a procedure is reported, never carried out
// of the window's event handler. Every window calls through here.
#pragma once
#include <functional>

#include "base/controls.h"

namespace vq::front {

// Runs a procedure of the wizard from a window's event.
void runProcedure(const std::function<void()>& proc);
// Runs click only while the model's button is enabled: a click the toolkit delivers late (the
// widget not yet mirrored off) must not start a procedure inside a running step. True when
// it ran.
bool runClick(const Button& model, void (*click)());

}  // namespace vq::front
