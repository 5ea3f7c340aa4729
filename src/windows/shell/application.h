#pragma once

// The whole program: single-instance rule, windows, message loop. Returns the exit code.
int RunRelcon4(int argc, char** argv);
