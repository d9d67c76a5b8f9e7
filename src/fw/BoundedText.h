// Bounded text composition for the fixed buffers the program moves text
// through. wsprintfA writes as much as its arguments need, so it is never
// pointed at a fixed buffer with text that comes from outside.
#pragma once

// Writes first, second and third one after another into out, which holds
// size bytes, and always ends it with a zero. True when everything fitted;
// false when the text was cut at the buffer's end.
bool JoinText(char* out, int size, const char* first, const char* second, const char* third = "");
// Writes format into out with its first "%s" replaced by text (a resource's
// message and a part the user typed); true when everything fitted.
bool FormatText(char* out, int size, const char* format, const char* text);
