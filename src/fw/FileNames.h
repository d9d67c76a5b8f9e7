// Paths taken apart by characters, not bytes. In the double-byte code pages
// of Chinese Windows the second byte of many characters is 0x5C, the byte of
// '\': 功 is A5 5C in code page 950, 誠 is D5 5C in 936. A scan byte by byte
// would cut C:\GAMES\功夫.EXE into 夫.EXE. CharNextA knows the lead bytes of
// the system's code page, the one the file system's ANSI names are in.
#pragma once

// The file name of a path: what follows its last '\', '/' or ':', or the
// whole path when it has none.
const char* FileNameOf(const char* path);

// Where a file name's extension begins: its last '.', or its end when it has
// none.
const char* ExtensionOf(const char* fileName);
