// Bounded text composition for the fixed buffers the program moves text
// through. wsprintfA writes as much as its arguments need, so it is never
// pointed at a fixed buffer with text that comes from outside.
#pragma once

// Writes first, second and third one after another into out, which holds
// size bytes, and always ends it with a zero. True when everything fitted;
// false when the text was cut at the buffer's end.
bool JoinText(char* out, int size, const char* first, const char* second, const char* third = "");
