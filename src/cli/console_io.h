// What vq-update-cli needs of its console beyond printing: whether output goes to a terminal
// and how wide it is, UTF-8 output for the Japanese texts, and a wait for Enter that a Ctrl+C
// ends. One file per system.
#pragma once
#include <cstdio>

#include "cli/interrupt_watch.h"

namespace vq::cli {

// Once, before anything is printed: on Windows the console is switched to UTF-8.
void prepareConsole();
bool isTerminal(std::FILE* f);
// The terminal's width in columns; fallback when it is not a terminal.
int terminalColumns(std::FILE* f, int fallback);

enum class InputWait { Line, Interrupted, Closed };
// Blocks until a line end arrives on the standard input, a Ctrl+C comes (taken from
// interrupts), or the input ends.
InputWait waitForLine(InterruptWatch& interrupts);

}  // namespace vq::cli
